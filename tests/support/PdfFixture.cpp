#include "tests/support/PdfFixture.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>

namespace qv::test {

PdfFixture::PdfFixture(const std::vector<std::string>& bodies) {
  for (const std::string& body : bodies) {
    add(body);
  }
}

int PdfFixture::add(std::string body) {
  int num = 1;
  for (const Object& o : objects_) {
    num = std::max(num, o.num + 1);
  }
  addObject(num, 0, std::move(body));
  return num;
}

void PdfFixture::addObject(int num, int gen, std::string body) {
  objects_.push_back({num, gen, std::move(body)});
}

std::string PdfFixture::stream(const std::string& dictEntries, const std::string& data,
                               std::optional<long> length) {
  const long n = length.value_or(static_cast<long>(data.size()));
  std::string out = "<< ";
  if (!dictEntries.empty()) {
    out += dictEntries + " ";
  }
  out += "/Length " + std::to_string(n) + " >>\nstream\n" + data + "\nendstream";
  return out;
}

PdfFixture& PdfFixture::version(std::string v) {
  version_ = std::move(v);
  return *this;
}
PdfFixture& PdfFixture::junkBeforeHeader(std::string junk) {
  junk_ = std::move(junk);
  return *this;
}
PdfFixture& PdfFixture::trailerEntries(std::string entries) {
  trailerEntries_ = std::move(entries);
  return *this;
}
PdfFixture& PdfFixture::startxrefDelta(long delta) {
  startxrefDelta_ = delta;
  return *this;
}
PdfFixture& PdfFixture::omitXref(bool omit) {
  omitXref_ = omit;
  return *this;
}
PdfFixture& PdfFixture::omitTrailer(bool omit) {
  omitTrailer_ = omit;
  return *this;
}
PdfFixture& PdfFixture::omitStartxref(bool omit) {
  omitStartxref_ = omit;
  return *this;
}
PdfFixture& PdfFixture::tail(std::string bytes) {
  tail_ = std::move(bytes);
  return *this;
}

std::string PdfFixture::build() const {
  std::string body = "%PDF-" + version_ + "\n%\xE2\xE3\xCF\xD3\n";
  offsets_.assign(objects_.size(), -1);
  for (size_t i = 0; i < objects_.size(); ++i) {
    offsets_[i] = static_cast<long>(body.size());
    const Object& o = objects_[i];
    body += std::to_string(o.num) + " " + std::to_string(o.gen) + " obj\n" + o.body + "\nendobj\n";
  }
  xrefOffset_ = static_cast<long>(body.size());

  // The newest definition of each number goes into the table.
  std::map<int, std::pair<long, int>> newest;
  int size = 1;
  for (size_t i = 0; i < objects_.size(); ++i) {
    newest[objects_[i].num] = {offsets_[i], objects_[i].gen};
    size = std::max(size, objects_[i].num + 1);
  }
  if (!omitXref_) {
    body += "xref\n0 " + std::to_string(size) + "\n";
    char entry[32];
    for (int num = 0; num < size; ++num) {
      auto it = newest.find(num);
      if (num == 0) {
        std::snprintf(entry, sizeof entry, "%010d %05d f\r\n", 0, 65535);
      } else if (it == newest.end()) {
        std::snprintf(entry, sizeof entry, "%010d %05d f\r\n", 0, 0);
      } else {
        std::snprintf(entry, sizeof entry, "%010ld %05d n\r\n", it->second.first,
                      it->second.second);
      }
      body += entry;
    }
  }
  if (!omitTrailer_) {
    body += "trailer\n<< /Size " + std::to_string(size) + " " + trailerEntries_ + " >>\n";
  }
  if (!omitStartxref_) {
    body += "startxref\n" + std::to_string(xrefOffset_ + startxrefDelta_) + "\n";
  }
  body += "%%EOF\n" + tail_;
  return junk_ + body;
}

std::filesystem::path PdfFixture::write(const std::filesystem::path& path) const {
  const std::string bytes = build();
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

long PdfFixture::offsetOf(int num, int gen) const {
  long found = -1;
  for (size_t i = 0; i < objects_.size() && i < offsets_.size(); ++i) {
    if (objects_[i].num == num && objects_[i].gen == gen) {
      found = offsets_[i];
    }
  }
  return found;
}

}  // namespace qv::test
