#include "pdf/fonts/fontfile/CPDFFontFileReader.h"

#include "pdf/fonts/fontfile/CPDFTrueTypeFontReader.h"
#include "pdf/fonts/fontfile/CPDFType1CFontReader.h"
#include "pdf/fonts/fontfile/CPDFType1FontReader.h"

namespace qv {

std::unique_ptr<CPDFFontFileReader> CPDFFontFileReader::readType1(std::string_view bytes) {
  return std::make_unique<CPDFType1FontReader>(bytes);
}

std::unique_ptr<CPDFFontFileReader> CPDFFontFileReader::readType1C(std::string_view bytes) {
  return std::make_unique<CPDFType1CFontReader>(bytes);
}

std::unique_ptr<CPDFFontFileReader> CPDFFontFileReader::readTrueType(std::string_view bytes) {
  return std::make_unique<CPDFTrueTypeFontReader>(bytes);
}

}  // namespace qv
