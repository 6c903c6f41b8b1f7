#include "app/OptionTreeModel.h"

#include "platform/IniFile.h"

namespace qv {

namespace {

using O = ConvertOptions;
using K = OptionItemKind;

struct ItemDefinition {
  int number;
  int parent;
  const char* label;
  const char* help;
  K kind;
  std::vector<std::string> choices;
  int32_t minimum;
  int32_t maximum;
  int32_t O::*intField;
  std::string O::*textField;
};

const std::vector<ItemDefinition>& itemDefinitions() {
  static const std::vector<ItemDefinition> specs = {
      {1,
       0,
       "Output General Options",
       "General output options.",
       K::Group,
       {},
       0,
       0,
       nullptr,
       nullptr},
      {2,
       1,
       "Page Range",
       "Output page range.",
       K::List,
       {"All Pages", "Selected Pages"},
       0,
       0,
       &O::pageRange,
       nullptr},
      {3, 2, "Begin Page", "Begin page.", K::Spin, {}, 1, 1000, &O::startPage, nullptr},
      {4, 2, "End Page", "End page.", K::Spin, {}, 1, 1000, &O::endPage, nullptr},
      {5,
       1,
       "Page Zoom",
       "Page zoom.",
       K::List,
       {"1.0", "1.1", "1.2", "1.3", "1.4", "1.5", "1.6", "1.7", "1.8", "1.9", "2.0"},
       0,
       0,
       &O::pageZoom,
       nullptr},
      {6,
       1,
       "Open Results",
       "Open the result html file or directory when finished converting.",
       K::List,
       {"Yes", "No"},
       0,
       0,
       &O::openResult,
       nullptr},
      {7,
       1,
       "Hyperlinks",
       "Exchange .pdf links by .html.",
       K::List,
       {"Enable", "Unable"},
       0,
       0,
       &O::hyperlinks,
       nullptr},
      {8, 0, "Output Html Options", "Html output options.", K::Group, {}, 0, 0, nullptr, nullptr},
      {9,
       8,
       "Output Html Title",
       "Output html title.",
       K::List,
       {"Default Title", "Custom Title"},
       0,
       0,
       &O::outputTitle,
       nullptr},
      {10,
       9,
       "Custom Title",
       "Please input your custom output html title.",
       K::Text,
       {},
       0,
       0,
       nullptr,
       &O::customTitle},
      {11,
       8,
       "Output Html KeyWords",
       "Output html keyWords in Meta tag.",
       K::Text,
       {},
       0,
       0,
       nullptr,
       &O::keywords},
      {12,
       8,
       "Background",
       "Output html file background.",
       K::Color,
       {},
       0,
       0,
       &O::htmlBackground,
       nullptr},
      {13, 8, "Links Style", "Links style.", K::Group, {}, 0, 0, nullptr, nullptr},
      {14, 13, "Links Color", "Links color.", K::Color, {}, 0, 0, &O::linksColor, nullptr},
      {15,
       13,
       "Visited Links Color",
       "Visited links color.",
       K::Color,
       {},
       0,
       0,
       &O::visitedLinksColor,
       nullptr},
      {16,
       13,
       "Active Links Color",
       "Active links color.",
       K::Color,
       {},
       0,
       0,
       &O::activeLinksColor,
       nullptr},
      {17,
       8,
       "Html Frame Structures",
       "Html document frame structures. Click to select a frame structure.",
       K::Picture,
       // The second caption has two blanks before "and", as the product always showed it.
       {"Page Index, Page Contents and Navigation", "Bookmarks, Page Contents  and Navigation",
        "Page Contents only - No frames"},
       0,
       0,
       &O::frameStructure,
       nullptr},
      {18,
       17,
       "Html Output Mode",
       "Html output mode.",
       K::List,
       {"Single Html Document", "Html Documents by Pages"},
       0,
       0,
       &O::outputMode,
       nullptr},
      {19, 8, "BookMarks", "BookMarks style.", K::Group, {}, 0, 0, nullptr, nullptr},
      {20,
       19,
       "Background",
       "BookMarks background.",
       K::Color,
       {},
       0,
       0,
       &O::bookmarksBackground,
       nullptr},
      {21,
       19,
       "Font",
       "BookMarks font.",
       K::List,
       {"Helvetica, Arial, sans-serif", "Times New Roman, Times, serif",
        "Courier New, Courier, mono", "Verdana, Arial, Helvetica, sans-serif",
        "Geneva, Arial, Helvetica, sans-serif"},
       0,
       0,
       &O::bookmarkFont,
       nullptr},
      {22, 8, "Navigation", "Navigation style.", K::Group, {}, 0, 0, nullptr, nullptr},
      {23,
       22,
       "Align",
       "Align.",
       K::List,
       {"Left", "Right", "Center"},
       0,
       0,
       &O::navigationAlign,
       nullptr},
      {24,
       22,
       "Background",
       "Navigation background.",
       K::Color,
       {},
       0,
       0,
       &O::navigationBackground,
       nullptr},
      {25,
       0,
       "Output Images Options",
       "Images output options.",
       K::Group,
       {},
       0,
       0,
       nullptr,
       nullptr},
      {26,
       25,
       "Ignore Images",
       "Ignore images in pdf file.",
       K::List,
       {"True", "False"},
       0,
       0,
       &O::ignoreImages,
       nullptr},
      {27,
       25,
       "Images Format",
       "Images format in html files.",
       K::List,
       {"png", "jpg", "bmp", "gif"},
       0,
       0,
       &O::imagesFormat,
       nullptr},
      {28,
       27,
       "Jpeg Quality (%)",
       "Jpeg quality in percent.",
       K::Spin,
       {},
       1,
       100,
       &O::jpegQuality,
       nullptr},
      {29,
       27,
       "Jpeg Gray Scale",
       "Generate gray scale jpg images.",
       K::List,
       {"True", "False"},
       0,
       0,
       &O::jpegGrayScale,
       nullptr},
  };
  return specs;
}

const ItemDefinition* definitionOf(int number) {
  const auto& specs = itemDefinitions();
  return (number >= 1 && number <= static_cast<int>(specs.size())) ? &specs[number - 1] : nullptr;
}

bool hasChoice(const OptionItem& item, int32_t position) {
  return position >= 0 && position < static_cast<int32_t>(item.choices.size());
}

}  // namespace

void OptionTreeModel::fill(const ConvertOptions& options) {
  const ConvertOptions defaults;
  items_.clear();
  for (const ItemDefinition& entry : itemDefinitions()) {
    OptionItem item;
    item.number = entry.number;
    item.parent = entry.parent;
    item.label = entry.label;
    item.help = entry.help;
    item.kind = entry.kind;
    item.choices = entry.choices;
    item.minimum = entry.minimum;
    item.maximum = entry.maximum;
    switch (entry.kind) {
      case K::Group:
        break;
      case K::List:
      case K::Picture:
        item.value = hasChoice(item, options.*entry.intField) ? options.*entry.intField : -1;
        break;
      case K::Spin:
        item.value = options.*entry.intField;
        item.text = std::to_string(item.value);
        break;
      case K::Text:
        item.text = options.*entry.textField;
        break;
      case K::Color:
        item.value = options.*entry.intField;
        item.defaultColor = defaults.*entry.intField;
        break;
    }
    items_.push_back(std::move(item));
  }
  items_[3 - 1].readOnly = items_[4 - 1].readOnly = options.pageRange != 1;
  items_[10 - 1].readOnly = options.outputTitle != 1;
  if (items_[10 - 1].readOnly) {
    items_[10 - 1].text = std::string(kDefaultTitle);
  }
  items_[18 - 1].readOnly = options.frameStructure != 2;
  items_[28 - 1].readOnly = items_[29 - 1].readOnly = options.imagesFormat != 1;
}

const OptionItem* OptionTreeModel::item(int number) const {
  for (const OptionItem& candidate : items_) {
    if (candidate.number == number) {
      return &candidate;
    }
  }
  return nullptr;
}

OptionItem* OptionTreeModel::find(int number) {
  return const_cast<OptionItem*>(static_cast<const OptionTreeModel*>(this)->item(number));
}

bool OptionTreeModel::selectChoice(int number, int32_t position, ConvertOptions& options) {
  OptionItem* target = find(number);
  if (target == nullptr || target->readOnly ||
      (target->kind != K::List && target->kind != K::Picture)) {
    return false;
  }
  target->value = hasChoice(*target, position) ? position : -1;
  itemChanged(number, options);
  return true;
}

bool OptionTreeModel::setSpinText(int number, std::string_view text, ConvertOptions& options) {
  OptionItem* target = find(number);
  if (target == nullptr || target->readOnly || target->kind != K::Spin) {
    return false;
  }
  target->text = std::string(text);
  target->value = IniFile::parseInt(text).value_or(0);
  itemChanged(number, options);
  return true;
}

bool OptionTreeModel::setText(int number, std::string_view text, ConvertOptions& options) {
  OptionItem* target = find(number);
  if (target == nullptr || target->readOnly || target->kind != K::Text) {
    return false;
  }
  target->text = std::string(text.substr(0, IniFile::kMaxValueLength));
  itemChanged(number, options);
  return true;
}

bool OptionTreeModel::setColor(int number, int32_t color, ConvertOptions& options) {
  OptionItem* target = find(number);
  if (target == nullptr || target->readOnly || target->kind != K::Color) {
    return false;
  }
  target->value = color & 0x00FFFFFF;
  itemChanged(number, options);
  return true;
}

void OptionTreeModel::store(const OptionItem& item, ConvertOptions& options) {
  const ItemDefinition* entry = definitionOf(item.number);
  if (entry == nullptr) {
    return;
  }
  switch (item.kind) {
    case K::Group:
      break;
    case K::List:
    case K::Picture:
    case K::Color:
      options.*entry->intField = item.value;
      break;
    case K::Spin:
      // A plain decimal conversion of the edit's text, as typed.
      options.*entry->intField = IniFile::parseInt(item.text).value_or(0);
      break;
    case K::Text:
      options.*entry->textField = item.text;
      break;
  }
}

void OptionTreeModel::itemChanged(int number, ConvertOptions& options) {
  const OptionItem* changed = item(number);
  if (changed == nullptr) {
    return;
  }
  store(*changed, options);
  int32_t value = changed->value;
  switch (number) {
    case 2:
      find(3)->readOnly = find(4)->readOnly = value != 1;
      break;
    case 9: {
      OptionItem* title = find(10);
      title->readOnly = value != 1;
      title->text = title->readOnly ? std::string(kDefaultTitle) : options.customTitle;
      break;
    }
    case 17:
      find(18)->readOnly = value != 2;
      break;
    case 27:
      find(28)->readOnly = find(29)->readOnly = value != 1;
      break;
    default:
      break;
  }
}

void OptionTreeModel::readBack(ConvertOptions& options) const {
  for (int number = 1; number <= 31; ++number) {
    const OptionItem* found = item(number);
    if (found == nullptr) {
      break;
    }
    store(*found, options);
  }
}

bool ResetOptions(ConvertOptions& options, OptionTreeModel& tree,
                  const std::function<bool(const std::string& question)>& ask) {
  if (!ask || !ask("Reset all the convert options?")) {
    return false;
  }
  options = ConvertOptions{};
  tree.fill(options);
  return true;
}

}  // namespace qv
