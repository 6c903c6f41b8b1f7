#include "pdf/document/CPDFSecurityHandler.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "DocumentTestUtil.h"
#include "pdf/core/CPDFDict.h"
#include "pdf/core/CPDFStream.h"
#include "pdf/core/ErrorReport.h"
#include "tests/support/TestPaths.h"

namespace qv {
namespace {

using test::onePage;
using test::PdfFixture;

const char* kSecret = "Secret text (with brackets)";
const char* kContent = "BT /F1 12 Tf (Hello) Tj ET";

// A one-page file with a string in the page and an uncompressed content stream, encrypted
// by qpdf with `encryptArgs` (the reference tool writes the encrypted files).
std::filesystem::path encryptedFixture(const test::ScratchDir& dir, const std::string& name,
                                       const std::string& encryptArgs) {
  PdfFixture pdf =
      onePage("/QvText (" + std::string("Secret text \\(with brackets\\)") + ") /Contents 4 0 R");
  pdf.add(PdfFixture::stream("", kContent));
  const auto plain = pdf.write(dir / "plain.pdf");
  const auto out = dir / name;
  const std::string command = "qpdf --allow-weak-crypto --compress-streams=n --encrypt " +
                              encryptArgs + " -- " + plain.string() + " " + out.string() +
                              " 2>/dev/null";
  if (std::system(command.c_str()) != 0) {
    return {};
  }
  return out;
}

struct OpenCase {
  const char* name;
  const char* encryptArgs;
  std::optional<std::string> owner;
  std::optional<std::string> user;
  bool opens;
  bool ownerOk;
  const char* message;  // a report expected once, or ""
  bool allowed[4];      // print, change, copy, annotate as answered (owner password honoured)
};

const OpenCase kOpenCases[] = {
    {"R2User",
     "view master 40 --print=n --modify=n",
     {},
     "view",
     true,
     false,
     "",
     {false, false, true, true}},
    {"R2Owner",
     "view master 40 --print=n --modify=n",
     "master",
     {},
     true,
     true,
     "",
     {true, true, true, true}},
    {"R2WrongUser", "view master 40", {}, "wrong", false, false, "Incorrect password", {}},
    {"R2NoPassword", "view master 40", {}, {}, false, false, "Incorrect password", {}},
    {"R2WrongOwnerRightUser",
     "view master 40",
     "wrong",
     "view",
     true,
     false,
     "Incorrect owner password",
     {true, true, true, true}},
    {"R3User",
     "view master 128 --use-aes=n --print=none --extract=n",
     {},
     "view",
     true,
     false,
     "",
     {false, true, false, true}},
    {"R3Owner",
     "view master 128 --use-aes=n --print=none --extract=n",
     "master",
     {},
     true,
     true,
     "",
     {true, true, true, true}},
    {"R3EmptyUserNoPassword",
     "\"\" master 128 --use-aes=n --modify=none",
     {},
     {},
     true,
     false,
     "",
     {true, false, true, false}},
    {"R3BothEmpty", "\"\" \"\" 128 --use-aes=n", {}, {}, true, true, "", {true, true, true, true}},
    {"V4Refused",
     "view master 128 --use-aes=n --force-V4",
     "master",
     {},
     false,
     false,
     "Unsupported version/revision (4/4) of Standard security handler",
     {}},
    {"AesRefused",
     "view master 128 --use-aes=y",
     "master",
     {},
     false,
     false,
     "Unsupported version/revision (4/4) of Standard security handler",
     {}},
};

// Test logs name a case by its name rather than by its bytes.
void PrintTo(const OpenCase& c, std::ostream* os) { *os << c.name; }

class EncryptedFile : public ::testing::TestWithParam<OpenCase> {};

TEST_P(EncryptedFile, OpensDecryptsAndAnswersPermissions) {
  const OpenCase& c = GetParam();
  test::ScratchDir dir("qv-security");
  const auto path = encryptedFixture(dir, "enc.pdf", c.encryptArgs);
  ASSERT_FALSE(path.empty()) << "qpdf could not write the fixture";
  ErrorLog log;
  CPDFDocument doc(path.string(), c.owner, c.user);
  ASSERT_EQ(doc.ok(), c.opens);
  if (*c.message) {
    EXPECT_EQ(log.count(c.message), 1u);
  }
  if (!c.opens) {
    return;
  }
  EXPECT_TRUE(doc.getXRef()->isEncrypted());
  EXPECT_EQ(doc.getXRef()->ownerPasswordOk(), c.ownerOk);
  EXPECT_EQ(doc.canPrint(), c.allowed[0]);
  EXPECT_EQ(doc.canChange(), c.allowed[1]);
  EXPECT_EQ(doc.canCopy(), c.allowed[2]);
  EXPECT_EQ(doc.canAnnotate(), c.allowed[3]);

  CPDFPage* page = doc.getCatalog()->getPage(1);
  ASSERT_NE(page, nullptr);
  const CPDFObject pageObj = doc.getXRef()->fetchObject(3, 0);
  const std::optional<CPDFString> text = pageObj.getDict()->lookupString("QvText");
  ASSERT_TRUE(text.has_value());
  EXPECT_EQ(text->view(), kSecret);
  const CPDFObject contents = page->contents();
  ASSERT_TRUE(contents.isStream());
  CPDFStream* stream = contents.getStream();
  stream->reset();
  const std::string first = stream->readAll(1000);
  stream->close();
  stream->reset();
  const std::string second = stream->readAll(1000);
  stream->close();
  EXPECT_EQ(first, kContent);
  EXPECT_EQ(second, kContent);  // a reset restarts the key stream
}

INSTANTIATE_TEST_SUITE_P(Qpdf, EncryptedFile, ::testing::ValuesIn(kOpenCases),
                         [](const auto& info) { return std::string(info.param.name); });

const char* kO = "<5707f7978844c2d6230b737e3295a2e9c945fcc46569f8339661c0a4264ceaa0>";
const char* kU = "<a8fc291a1fb00f10fd255b84e39e5b0cc840d80973c478570af871f5a552bcfa>";

// Encryption dictionaries written by hand (O and U of a revision 2 file whose user password
// is "view"), each broken in one way.
struct DictCase {
  const char* name;
  const char* encrypt;
  const char* trailerExtra;
  const char* message;
  const char* o = kO;
};

const char* kId = "/ID [<66d36a30a97e0f16f39955c6221e0c2a> <66d36a30a97e0f16f39955c6221e0c2a>]";

std::string encryptDict(const std::string& entries, const char* o) {
  return std::string("<< /Filter /Standard /V 1 /R 2 /P -64 /O ") + o + " /U " + kU + " " +
         entries + " >>";
}

TEST(CPDFSecurityHandler, HandWrittenDictionaries) {
  const DictCase cases[] = {
      {"LengthForty", "/Length 40", kId, ""},
      {"LengthAbsentIsFortyBits", "", kId, ""},
      {"LengthZero", "/Length 0", kId, "Weird encryption info"},
      {"LengthHuge", "/Length 256", kId, "Weird encryption info"},
      {"LengthNegative", "/Length -40", kId, "Weird encryption info"},
      {"NoId", "", "", "Weird encryption info"},
      {"IdNotString", "", "/ID [1 2]", "Weird encryption info"},
      {"ShortO", "", kId, "Weird encryption info", "<00>"},
  };
  for (const DictCase& c : cases) {
    SCOPED_TRACE(c.name);
    PdfFixture pdf = onePage();
    pdf.add(encryptDict(c.encrypt, c.o));
    pdf.trailerEntries(std::string("/Root 1 0 R /Encrypt 4 0 R ") + c.trailerExtra);
    ErrorLog log;
    auto doc = test::openBytes(pdf.build(), std::nullopt, std::string("view"));
    EXPECT_EQ(doc->ok(), *c.message == 0);
    if (*c.message) {
      EXPECT_EQ(log.count(c.message), 1u);
    } else {
      EXPECT_EQ(doc->getXRef()->encryption().keyLength, 5u);
    }
  }
}

TEST(CPDFSecurityHandler, UnknownHandlerAndUnsupportedVersions) {
  const struct {
    const char* encrypt;
    const char* message;
  } cases[] = {
      {"<< /Filter /Other >>", "Unknown security handler 'Other'"},
      {"<< /Filter 5 >>", "Unknown security handler '?\?\?'"},
      {"<< /Filter /Standard /V 5 /R 6 /P -4 /O (x) /U (y) >>", "Weird encryption info"},
  };
  for (const auto& c : cases) {
    PdfFixture pdf = onePage();
    pdf.add(c.encrypt);
    pdf.trailerEntries(std::string("/Root 1 0 R /Encrypt 4 0 R ") + kId);
    ErrorLog log;
    auto doc = test::openBytes(pdf.build());
    EXPECT_FALSE(doc->ok()) << c.encrypt;
    EXPECT_EQ(log.count(c.message), 1u) << c.encrypt;
  }
}

TEST(CPDFSecurityHandler, UnencryptedFileAllowsEverything) {
  auto doc = test::openBytes(onePage().build());
  ASSERT_TRUE(doc->ok());
  EXPECT_FALSE(doc->getXRef()->isEncrypted());
  EXPECT_EQ(doc->getXRef()->getPermissions(), 0xFFFC);
  EXPECT_TRUE(doc->canPrint(true) && doc->canChange(true) && doc->canCopy(true) &&
              doc->canAnnotate(true));
}

}  // namespace
}  // namespace qv
