#include "pdf/filters/FilterFactory.h"

#include <string>

#include "pdf/core/ErrorReport.h"
#include "pdf/core/Limits.h"
#include "pdf/filters/ASCII85DecodeStream.h"
#include "pdf/filters/ASCIIHexDecodeStream.h"
#include "pdf/filters/EmptyStream.h"
#include "pdf/filters/FlateDecodeStream.h"
#include "pdf/filters/LZWDecodeStream.h"
#include "pdf/filters/RunLengthDecodeStream.h"

namespace qv {

namespace {

PredictorParams readPredictorParams(const CPDFDict* params) {
  PredictorParams p;
  if (params) {
    p.predictor = params->lookupInt("Predictor", 1);
    p.columns = params->lookupInt("Columns", 1);
    p.colors = params->lookupInt("Colors", 1);
    p.bitsPerComponent = params->lookupInt("BitsPerComponent", 8);
  }
  return p;
}

int64_t positionOf(const std::unique_ptr<CPDFStream>& stream) {
  return stream ? stream->getPos() : -1;
}

}  // namespace

std::unique_ptr<CPDFStream> FilterFactory::makeFilter(std::string_view name,
                                                      std::unique_ptr<CPDFStream> input,
                                                      const CPDFObject& params) const {
  const CPDFDict* dict = params.isDict() ? params.getDict() : nullptr;
  if (name == "ASCIIHexDecode" || name == "AHx") {
    return std::make_unique<ASCIIHexDecodeStream>(std::move(input));
  }
  if (name == "ASCII85Decode" || name == "A85") {
    return std::make_unique<ASCII85DecodeStream>(std::move(input));
  }
  if (name == "LZWDecode" || name == "LZW") {
    int early = dict ? dict->lookupInt("EarlyChange", 1) : 1;
    return std::make_unique<LZWDecodeStream>(std::move(input), readPredictorParams(dict), early);
  }
  if (name == "RunLengthDecode" || name == "RL") {
    return std::make_unique<RunLengthDecodeStream>(std::move(input));
  }
  if (name == "FlateDecode" || name == "Fl") {
    return std::make_unique<FlateDecodeStream>(std::move(input), readPredictorParams(dict));
  }
  if (name == "DCTDecode" || name == "DCT" || name == "CCITTFaxDecode" || name == "CCF") {
    // The JPEG and fax decoders are not part of the engine yet: the data reads as empty
    // rather than as undecoded bytes.
    reportError(positionOf(input), "Filter '%.*s' is not supported yet",
                static_cast<int>(name.size()), name.data());
    return std::make_unique<EmptyStream>(std::move(input));
  }
  reportError(positionOf(input), "Unknown filter '%.*s'", static_cast<int>(name.size()),
              name.data());
  return std::make_unique<EmptyStream>(std::move(input));
}

std::unique_ptr<CPDFStream> FilterFactory::makeFilterChain(std::unique_ptr<CPDFStream> input,
                                                           const CPDFDict& dict) const {
  CPDFObject filter = dict.lookup("Filter");
  if (filter.isNull()) {
    filter = dict.lookup("F");
  }
  CPDFObject params = dict.lookup("DecodeParms");
  if (params.isNull()) {
    params = dict.lookup("DP");
  }
  if (filter.isName()) {
    return makeFilter(filter.getName(), std::move(input), params);
  }
  if (filter.isArray()) {
    const CPDFArray* filters = filter.getArray();
    if (filters->count() > kMaxFilterChainLength) {
      reportError(positionOf(input), "Too many filters (%d) on one stream", filters->count());
      return std::make_unique<EmptyStream>(std::move(input));
    }
    std::unique_ptr<CPDFStream> stream = std::move(input);
    for (int i = 0; i < filters->count(); ++i) {
      CPDFObject name = filters->get(i);
      CPDFObject stageParams = params.isArray() ? params.arrayGet(i) : CPDFObject::makeNull();
      if (name.isName()) {
        stream = makeFilter(name.getName(), std::move(stream), stageParams);
      } else {
        reportError(positionOf(stream), "Bad filter name");
        stream = std::make_unique<EmptyStream>(std::move(stream));
      }
    }
    return stream;
  }
  if (!filter.isNull()) {
    reportError(positionOf(input), "Bad 'Filter' attribute in stream");
  }
  return input;
}

}  // namespace qv
