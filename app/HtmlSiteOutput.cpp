#include "app/HtmlSiteOutput.h"

#include "extract/DocBridge.h"
#include "html/BookmarkPage.h"
#include "html/FramesetPage.h"
#include "html/NavigationPage.h"
#include "html/PageIndexPage.h"

namespace qv {

HtmlSiteOutput::HtmlSiteOutput(std::function<void(const std::string&)> showMessage)
    : showMessage_(std::move(showMessage)) {
  state_.showMessage = showMessage_;
}

void HtmlSiteOutput::writeFramesetPage(const ConvertOptions& options,
                                       const std::filesystem::path& outputFolder,
                                       const std::string& documentName, int firstPage,
                                       int lastPage) {
  // A new document: its page writer state starts empty.
  state_ = PageWriterState{};
  state_.showMessage = showMessage_;
  WriteFramesetPage(options, outputFolder, documentName, firstPage, lastPage);
}

void HtmlSiteOutput::writePageIndexPage(const ConvertOptions& options,
                                        const std::filesystem::path& outputFolder,
                                        const std::string& documentName, int firstPage,
                                        int lastPage) {
  WritePageIndexPage(options, outputFolder, documentName, firstPage, lastPage);
}

void HtmlSiteOutput::writeNavigationPage(const ConvertOptions& options,
                                         const std::filesystem::path& outputFolder,
                                         const std::string& documentName, int firstPage,
                                         int lastPage) {
  WriteNavigationPage(options, outputFolder, documentName, firstPage, lastPage);
}

void HtmlSiteOutput::writeBookmarkPage(const ConvertOptions& options, SourceDocument& document,
                                       const std::filesystem::path& outputFolder,
                                       const std::string& documentName, int firstPage,
                                       int lastPage) {
  WriteBookmarkPage(options, document.bridgeHandle(), outputFolder, documentName, firstPage,
                    lastPage);
}

void HtmlSiteOutput::writePage(const ConvertOptions& options, PDFPageRecord& record,
                               const PDFLinkAreaList* links, const std::filesystem::path& pageFile,
                               int firstPage) {
  WritePageHtml(state_, options, record, links, pageFile, firstPage);
}

void HtmlSiteOutput::finishBatch() {
  std::error_code ec;
  std::filesystem::remove(DocBridgeOutlineFilePath(), ec);
}

}  // namespace qv
