#include "pdf/fonts/CPDFFont.h"

#include <cmath>
#include <fstream>

#include "pdf/config/CPDFConfig.h"
#include "pdf/core/CPDFDict.h"
#include "pdf/core/CPDFStream.h"
#include "pdf/core/ErrorReport.h"
#include "pdf/fonts/CPDFCIDFont.h"
#include "pdf/fonts/CPDFSimpleFont.h"
#include "pdf/fonts/FontLimits.h"

namespace qv {

std::unique_ptr<CPDFFont> CPDFFont::makeFont(CPDFFontContext& context, std::string tag,
                                             CPDFRef ref, const CPDFDict& dict) {
  std::optional<std::string> name = dict.lookupName("BaseFont");
  CPDFObject subtype = dict.lookup("Subtype");
  CPDFFontKind kind = CPDFFontKind::kUnknown;
  if (subtype.isName("Type1") || subtype.isName("MMType1")) {
    kind = CPDFFontKind::kType1;
  } else if (subtype.isName("Type1C")) {
    kind = CPDFFontKind::kType1C;
  } else if (subtype.isName("Type3")) {
    kind = CPDFFontKind::kType3;
  } else if (subtype.isName("TrueType")) {
    kind = CPDFFontKind::kTrueType;
  } else if (subtype.isName("Type0")) {
    return CPDFCIDFont::build(context, std::move(tag), ref, std::move(name), dict);
  } else if (subtype.isName()) {
    reportError(-1, "Unknown font type: '%s'", subtype.getName().c_str());
  }
  return CPDFSimpleFont::build(context, std::move(tag), ref, std::move(name), kind, dict);
}

void CPDFFont::readFontDescriptor(CPDFFontContext& context, const CPDFDict& dict) {
  flags_ = kFlagSerif;
  missingWidth_ = 0;
  embeddedRef_ = {-1, -1};
  RefPtr<CPDFDict> desc = dict.lookupDict("FontDescriptor");
  if (desc) {
    CPDFObject flags = desc->lookup("Flags");
    if (flags.isInt()) {
      flags_ = flags.getInt();
    }
    if (std::optional<std::string> fontName = desc->lookupName("FontName")) {
      embeddedName_ = std::move(fontName);
    }
    // The first entry present decides; a program of the wrong type is not used.
    if (std::optional<CPDFRef> file = desc->lookupRef("FontFile")) {
      if (kind_ == CPDFFontKind::kType1) {
        embeddedRef_ = *file;
      } else {
        reportError(-1, "Mismatch between font type and embedded font file");
      }
    } else if (std::optional<CPDFRef> file2 = desc->lookupRef("FontFile2")) {
      if (kind_ == CPDFFontKind::kTrueType || kind_ == CPDFFontKind::kCIDType2) {
        embeddedRef_ = *file2;
      } else {
        reportError(-1, "Mismatch between font type and embedded font file");
      }
    } else if (std::optional<CPDFRef> file3 = desc->lookupRef("FontFile3")) {
      CPDFObject stream = CPDFObject::makeRef(file3->num, file3->gen).resolve(context.xref);
      if (stream.isStream()) {
        const CPDFObject& streamDict = stream.getStream()->getDict();
        CPDFObject subtype =
            streamDict.isDict() ? streamDict.getDict()->lookup("Subtype") : CPDFObject();
        bool fits = false;
        if (subtype.isName("Type1")) {
          fits = kind_ == CPDFFontKind::kType1;
        } else if (subtype.isName("Type1C")) {
          fits = kind_ == CPDFFontKind::kType1 || kind_ == CPDFFontKind::kType1C;
          if (fits) {
            kind_ = CPDFFontKind::kType1C;
          }
        } else if (subtype.isName("TrueType")) {
          fits = kind_ == CPDFFontKind::kTrueType;
        } else if (subtype.isName("CIDFontType0C")) {
          fits = kind_ == CPDFFontKind::kCIDType0;
          if (fits) {
            kind_ = CPDFFontKind::kCIDType0C;
          }
        } else {
          reportError(-1, "Unknown embedded font type '%s'",
                      subtype.isName() ? subtype.getName().c_str() : "???");
          subtype = CPDFObject::makeNull();
        }
        if (fits) {
          embeddedRef_ = *file3;
        } else if (!subtype.isNull()) {
          reportError(-1, "Mismatch between font type and embedded font file");
        }
      }
    }
    CPDFObject missing = desc->lookup("MissingWidth");
    if (missing.isNum()) {
      missingWidth_ = missing.getNum();
    }
    CPDFObject ascent = desc->lookup("Ascent");
    if (ascent.isNum() && ascent.getNum() != 0) {
      ascent_ = 0.001 * ascent.getNum();
    }
    CPDFObject descent = desc->lookup("Descent");
    if (descent.isNum() && descent.getNum() != 0) {
      descent_ = 0.001 * descent.getNum();
    }
    if (RefPtr<CPDFArray> bbox = desc->lookupArray("FontBBox")) {
      for (int i = 0; i < 4 && i < bbox->count(); ++i) {
        CPDFObject value = bbox->get(i);
        if (value.isNum()) {
          fontBBox_[i] = 0.001 * value.getNum();
        }
      }
    }
    CPDFObject angle = desc->lookup("ItalicAngle");
    if (angle.isNum() && std::isfinite(angle.getNum()) && std::fabs(angle.getNum()) < 1e6) {
      italicAngle_ = static_cast<int>(angle.getNum());
    }
  }
  // A font file of the configuration's font folders stands in for a missing program.
  if (name_ && context.config) {
    std::optional<std::filesystem::path> path;
    if (kind_ == CPDFFontKind::kType1) {
      path = context.config->findFontFile(*name_, ".pfa", ".pfb");
    } else if (kind_ == CPDFFontKind::kTrueType) {
      path = context.config->findFontFile(*name_, ".ttf", ".ttf");
    }
    if (path) {
      externalPath_ = path->string();
    }
  }
}

std::optional<std::string> CPDFFont::readFontProgram(CPDFFontContext& context) {
  if (externalPath_) {
    std::ifstream file(*externalPath_, std::ios::binary);
    if (!file) {
      reportError(-1, "External font file '%s' vanished", externalPath_->c_str());
      return std::nullopt;
    }
    file.seekg(0, std::ios::end);
    std::streamoff size = file.tellg();
    file.seekg(0, std::ios::beg);
    if (size < 0) {
      size = 0;
    }
    std::string bytes(std::min<size_t>(static_cast<size_t>(size), kMaxFontProgramBytes), '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (static_cast<size_t>(file.gcount()) != bytes.size()) {
      reportError(-1, "Error reading external font file '%s'", externalPath_->c_str());
      bytes.resize(static_cast<size_t>(file.gcount()));
    }
    return bytes;
  }
  if (embeddedRef_.num < 0) {
    return std::nullopt;
  }
  CPDFObject stream =
      CPDFObject::makeRef(embeddedRef_.num, embeddedRef_.gen).resolve(context.xref);
  if (!stream.isStream()) {
    reportError(-1, "Embedded font file is not a stream");
    embeddedRef_ = {-1, -1};
    return std::nullopt;
  }
  CPDFStream* s = stream.getStream();
  s->reset();
  std::string bytes = s->readAll(kMaxFontProgramBytes);
  s->close();
  return bytes;
}

}  // namespace qv
