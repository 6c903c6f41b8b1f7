#pragma once

// Builds small PDF files for tests from the bodies of their objects, filling in the byte
// offsets, the cross-reference table, the trailer and startxref, with switches that break
// one thing at a time. Independent of the engine.
//
//   PdfFixture pdf;
//   pdf.add("<< /Type /Catalog /Pages 2 0 R >>");            // object 1
//   pdf.add("<< /Type /Pages /Kids [] /Count 0 >>");         // object 2
//   pdf.add(PdfFixture::stream("/Filter /AHx", "414243>"));  // object 3, Length filled in
//   std::string bytes = pdf.build();                         // trailer /Root 1 0 R
//
// Bodies may hold a stream made with stream(), which writes "<< dict /Length n >>\nstream\n"
// + data + "\nendstream"; give `length` to write a wrong Length on purpose.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace qv::test {

class PdfFixture {
 public:
  struct Object {
    int num;
    int gen;
    std::string body;
  };

  PdfFixture() = default;
  // Objects numbered 1, 2, ... in order.
  explicit PdfFixture(const std::vector<std::string>& bodies);

  // Appends the next object number (one more than the highest so far); returns it.
  int add(std::string body);
  // Appends object (num, gen); the same number may be defined again (later wins in a scan).
  void addObject(int num, int gen, std::string body);

  // A stream body: "<< " + dictEntries + " /Length n >>\nstream\n" + data + "\nendstream".
  static std::string stream(const std::string& dictEntries, const std::string& data,
                            std::optional<long> length = std::nullopt);

  // --- switches ---
  PdfFixture& version(std::string v);  // "%PDF-" + v; default "1.4"
  PdfFixture& junkBeforeHeader(std::string junk);
  PdfFixture& trailerEntries(std::string entries);  // default "/Root 1 0 R"
  PdfFixture& startxrefDelta(long delta);           // startxref off by delta
  PdfFixture& omitXref(bool omit = true);           // no "xref" table at all (trailer kept)
  PdfFixture& omitTrailer(bool omit = true);        // no trailer dictionary
  PdfFixture& omitStartxref(bool omit = true);
  PdfFixture& tail(std::string bytes);  // appended after "%%EOF"

  std::string build() const;
  // Writes build() to `path` and returns the path.
  std::filesystem::path write(const std::filesystem::path& path) const;

  // After build(): offset of object (num, gen) from the header's first byte, -1 when absent,
  // and the offset that startxref points at (the "xref" keyword).
  long offsetOf(int num, int gen = 0) const;
  long xrefOffset() const { return xrefOffset_; }

 private:
  std::vector<Object> objects_;
  std::string version_ = "1.4";
  std::string junk_;
  std::string trailerEntries_ = "/Root 1 0 R";
  long startxrefDelta_ = 0;
  bool omitXref_ = false;
  bool omitTrailer_ = false;
  bool omitStartxref_ = false;
  std::string tail_;
  mutable std::vector<long> offsets_;
  mutable long xrefOffset_ = -1;
};

}  // namespace qv::test
