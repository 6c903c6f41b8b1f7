#include "app/DocumentSummary.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "pdf/document/CPDFDocument.h"

namespace qv {

namespace {

namespace fs = std::filesystem;

std::string format(const char* fmt, double a, double b) {
  char buf[768];  // room for two numbers up to the largest double, printed in full
  std::snprintf(buf, sizeof buf, fmt, a, b);
  return buf;
}

// "%H:%M:%S %m/%d/%Y" in local time.
std::string formatLocalTime(std::time_t when) {
  std::tm local{};
  if (localtime_r(&when, &local) == nullptr) {
    return "";
  }
  char buf[64];
  size_t n = std::strftime(buf, sizeof buf, "%H:%M:%S %m/%d/%Y", &local);
  return std::string(buf, n);
}

std::string allowed(bool yes) {
  return yes ? "Allowed" : "Not Allowed";
}

// The general modify bit (0x8) governs document assembly only up to revision 2 of the
// standard security handler; from revision 3 on assembly has its own bit (0x400) and the
// modify bit explicitly leaves it out. The owner password allows everything.
bool assemblyAllowed(const CPDFDocument& doc) {
  const CPDFCrossRef* xref = doc.getXRef();
  if (xref == nullptr || !xref->isEncrypted() || xref->encryption().r < 3) {
    return doc.canChange();
  }
  return xref->ownerPasswordOk() || (xref->getPermissions() & 0x400) != 0;
}

}  // namespace

std::string WithThousandsSeparators(uintmax_t value) {
  std::string digits = std::to_string(value);
  std::string out;
  out.reserve(digits.size() + digits.size() / 3);
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) {
      out += ',';
    }
    out += digits[i];
  }
  return out;
}

std::optional<std::time_t> FileCreationTime(const fs::path& file) {
  struct statx sx {};
  if (statx(AT_FDCWD, file.c_str(), 0, STATX_BTIME | STATX_MTIME, &sx) == 0) {
    // Not every file system records a birth time; the modification time stands in.
    if ((sx.stx_mask & STATX_BTIME) != 0) {
      return static_cast<std::time_t>(sx.stx_btime.tv_sec);
    }
    if ((sx.stx_mask & STATX_MTIME) != 0) {
      return static_cast<std::time_t>(sx.stx_mtime.tv_sec);
    }
  }
  struct stat st {};
  if (stat(file.c_str(), &st) != 0) {
    return std::nullopt;
  }
  return st.st_mtime;
}

std::string AcrobatVersionLabel(double version) {
  static const char* const kLabels[][2] = {
      {"1.0", " (Acrobat 1.x) "}, {"1.1", " (Acrobat 2.x) "}, {"1.2", " (Acrobat 3.x) "},
      {"1.3", " (Acrobat 4.x) "}, {"1.4", " (Acrobat 5.x) "}, {"1.5", " (Acrobat 6.x) "},
      {"1.6", " (Acrobat 7.x) "},
  };
  char printed[64];
  std::snprintf(printed, sizeof printed, "%.1f", version);
  for (const auto& label : kLabels) {
    if (std::strcmp(printed, label[0]) == 0) {
      return label[1];
    }
  }
  return " (Unknown Acrobat Version) ";
}

std::optional<std::string> DocumentSummaryText(const fs::path& file,
                                               const std::optional<std::string>& ownerPassword,
                                               const std::optional<std::string>& userPassword) {
  std::error_code ec;
  fs::path fullPath = fs::absolute(file, ec).lexically_normal();
  if (ec) {
    fullPath = file;
  }
  const uintmax_t bytes = fs::file_size(file, ec);
  if (ec) {
    return std::nullopt;
  }
  const std::optional<std::time_t> created = FileCreationTime(file);

  std::string text = fullPath.string() + "\n";
  text += "Summary:\n";
  text += "\tFile Size: " + WithThousandsSeparators(bytes / 1024) + " KB (" +
          WithThousandsSeparators(bytes) + " Bytes)\n";
  text += "\tCreation Time: " + (created ? formatLocalTime(*created) : std::string()) + "\n";
  text += "PDF Description:\n";

  CPDFDocument doc(file.string(), ownerPassword, userPassword);
  if (!doc.ok()) {
    return std::nullopt;
  }

  char version[64];
  std::snprintf(version, sizeof version, "%.1f", doc.getPDFVersion());
  text +=
      "\tPDF Version: " + std::string(version) + AcrobatVersionLabel(doc.getPDFVersion()) + "\n";

  // The crop box where page 1 has one, else its media box, at 96 pixels per inch. A box
  // written with its corners swapped still has a positive size, and a document without
  // pages has none.
  double width = 0;
  double height = 0;
  if (const CPDFCatalog* catalog = doc.getCatalog()) {
    if (const CPDFPage* page = catalog->getPage(1)) {
      const PDFRectangle& box = page->haveCropBox() ? page->cropBox() : page->mediaBox();
      width = std::fabs(box.width());
      height = std::fabs(box.height());
    }
  }
  text += "\tPage Size: " + format("%.0f x %.0f", width * 4 / 3, height * 4 / 3) + " Pixel\n";
  text += "\tNumber of Pages: " + std::to_string(doc.getNumPages()) + "\n";

  text += "PDF Security:\n";
  text += "\tPrinting: " + allowed(doc.canPrint()) + "\n";
  text += "\tDocument Assembly: " + allowed(assemblyAllowed(doc)) + "\n";
  text += "\tContent Copying or Extraction: " + allowed(doc.canCopy()) + "\n";
  text += "\tCommenting: " + allowed(doc.canAnnotate());
  return text;
}

}  // namespace qv
