#pragma once

// The option tree without a window: the 29 option items (label, help text, kind, choices
// or range, current value, read-only state) and the rules that tie them to ConvertOptions.
// A front end draws the items and forwards the user's edits; the model keeps the values
// and the enabling rules in one tested place.
//
// Items are numbered 1 to 29 in creation order; the change notification and readBack()
// identify an item by that number. The model is a plain value owned by its front end and
// used on the user-interface thread only.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/options/ConvertOptions.h"

namespace qv {

enum class OptionItemKind { Group, List, Spin, Text, Color, Picture };

struct OptionItem {
  int number = 0;
  int parent = 0;  // 0 for a top-level item
  std::string label;
  std::string help;
  OptionItemKind kind = OptionItemKind::Group;
  std::vector<std::string> choices;  // list entries or picture captions, never sorted
  int32_t minimum = 0;               // spin range
  int32_t maximum = 0;
  bool readOnly = false;
  // The value: selected position (-1: no selection) for lists and pictures, the number of a
  // spin edit, the colour of a colour picker. Text items hold text instead.
  int32_t value = 0;
  std::string text;          // text items; a spin edit's text as typed
  int32_t defaultColor = 0;  // colour pickers: the automatic colour
};

class OptionTreeModel {
 public:
  // Item 10 shows this while "Default Title" is chosen.
  static constexpr std::string_view kDefaultTitle = "PDF Document Title";

  OptionTreeModel() = default;

  // Builds the 29 items from options (dropping any previous items) and sets their
  // read-only state. A list value outside its choices leaves the list without a selection.
  void fill(const ConvertOptions& options);

  // Edits as the user makes them; each stores the value into the item and then runs the
  // change notification: the matching field of options takes the value at once and the
  // dependent items are enabled or disabled. False (nothing changed) for an unknown item,
  // an item of another kind or a read-only item.
  bool selectChoice(int number, int32_t position, ConvertOptions& options);
  bool setSpinText(int number, std::string_view text, ConvertOptions& options);
  bool setText(int number, std::string_view text, ConvertOptions& options);
  bool setColor(int number, int32_t color, ConvertOptions& options);

  // Copies every item's value into options (walking item numbers 1 to 31 and stopping at
  // the first missing one), without touching the read-only state. Item 10's shown text is
  // stored into customTitle even while it is read-only.
  void readBack(ConvertOptions& options) const;

  // The item with this number; null when there is none.
  const OptionItem* item(int number) const;
  const std::vector<OptionItem>& items() const { return items_; }

 private:
  OptionItem* find(int number);
  // Stores item n's value into its field and applies the enabling rules.
  void itemChanged(int number, ConvertOptions& options);
  static void store(const OptionItem& item, ConvertOptions& options);

  std::vector<OptionItem> items_;
};

// Sets every field to its default and refills the tree when ask("Reset all the convert
// options?") answers yes; the asking (a Yes/No question) belongs to the front end. Returns
// whether the options were reset. The settings file is not written.
bool ResetOptions(ConvertOptions& options, OptionTreeModel& tree,
                  const std::function<bool(const std::string& question)>& ask);

}  // namespace qv
