#include "pdf/functions/CPDFSampledFunction.h"

#include <cmath>

#include "pdf/core/CPDFObject.h"
#include "pdf/core/CPDFStream.h"
#include "pdf/core/ErrorReport.h"
#include "pdf/functions/FunctionLimits.h"

namespace qv {

namespace {

bool isValidBitsPerSample(int bits) {
  switch (bits) {
    case 1:
    case 2:
    case 4:
    case 8:
    case 12:
    case 16:
    case 24:
    case 32:
      return true;
    default:
      return false;
  }
}

// Reads `count` pairs of numbers from `array` into `pairs`; false when an element is not a
// number.
template <size_t N>
bool readPairs(const CPDFArray& array, int count, std::array<std::array<double, 2>, N>& pairs) {
  for (int i = 0; i < count; ++i) {
    for (int j = 0; j < 2; ++j) {
      CPDFObject value = array.get(2 * i + j);
      if (!value.isNum()) {
        return false;
      }
      pairs[i][j] = value.getNum();
    }
  }
  return true;
}

}  // namespace

std::unique_ptr<CPDFFunction> CPDFSampledFunction::build(const CPDFDict& dict, CPDFStream* stream) {
  auto function = std::make_unique<CPDFSampledFunction>();
  CPDFSampledFunction& f = *function;
  if (!f.readDomainAndRange(dict)) {
    return function;
  }
  if (!f.hasRange_) {
    reportError(-1, "Type 0 function is missing range");
    return function;
  }
  if (!stream) {
    reportError(-1, "Type 0 function isn't a stream");
    return function;
  }
  RefPtr<CPDFArray> size = dict.lookupArray("Size");
  if (!size || size->count() != f.m_) {
    reportError(-1, "Function has missing or invalid size array");
    return function;
  }
  // The sample count is checked while it is multiplied, so a Size array whose product
  // overflows is refused before anything is allocated.
  uint64_t total = static_cast<uint64_t>(f.n_);
  for (int i = 0; i < f.m_; ++i) {
    CPDFObject value = size->get(i);
    if (!value.isInt() || value.getInt() < 1) {
      reportError(-1, "Illegal value in function size array");
      return function;
    }
    f.size_[i] = value.getInt();
    total *= static_cast<uint64_t>(f.size_[i]);
    if (total > kMaxFunctionSamples) {
      reportError(-1, "Sampled function has too many samples");
      return function;
    }
  }
  CPDFObject bits = dict.lookup("BitsPerSample");
  if (!bits.isInt() || !isValidBitsPerSample(bits.getInt())) {
    reportError(-1, "Function has missing or invalid BitsPerSample");
    return function;
  }
  f.bitsPerSample_ = bits.getInt();

  for (int i = 0; i < f.m_; ++i) {
    f.encode_[i] = {0.0, static_cast<double>(f.size_[i] - 1)};
  }
  RefPtr<CPDFArray> encode = dict.lookupArray("Encode");
  if (encode && encode->count() == 2 * f.m_) {
    if (!readPairs(*encode, f.m_, f.encode_)) {
      reportError(-1, "Illegal value in function encode array");
      return function;
    }
  }
  for (int i = 0; i < f.n_; ++i) {
    f.decode_[i] = f.range_[i];
  }
  RefPtr<CPDFArray> decode = dict.lookupArray("Decode");
  if (decode && decode->count() == 2 * f.n_) {
    if (!readPairs(*decode, f.n_, f.decode_)) {
      reportError(-1, "Illegal value in function decode array");
      return function;
    }
  }
  f.samples_.assign(static_cast<size_t>(total), 0.0);
  f.ok_ = f.readSamples(*stream);
  return function;
}

bool CPDFSampledFunction::readSamples(CPDFStream& stream) {
  const int bits = bitsPerSample_;
  const double scale = 1.0 / (static_cast<double>((uint64_t{1} << bits) - 1));
  stream.reset();
  // Bits are taken most significant first from a 64-bit window; whole bytes for the byte
  // sized cases come out of the same path. Missing data reads as zero samples.
  uint64_t window = 0;
  int windowBits = 0;
  for (double& sample : samples_) {
    while (windowBits < bits) {
      int c = stream.nextChar();
      window = (window << 8) | static_cast<uint64_t>(c < 0 ? 0 : c);
      windowBits += 8;
    }
    uint64_t value = (window >> (windowBits - bits)) & ((uint64_t{1} << bits) - 1);
    windowBits -= bits;
    window &= (uint64_t{1} << windowBits) - 1;
    sample = static_cast<double>(value) * scale;
  }
  stream.close();
  return true;
}

std::unique_ptr<CPDFFunction> CPDFSampledFunction::copy() const {
  return std::make_unique<CPDFSampledFunction>(*this);
}

void CPDFSampledFunction::transform(const double* in, double* out) const {
  std::array<int, kMaxInputs> e0{};
  std::array<int, kMaxInputs> e1{};
  std::array<double, kMaxInputs> frac{};
  for (int i = 0; i < m_; ++i) {
    double width = domain_[i][1] - domain_[i][0];
    double x = clipInput(i, in[i]);
    double t = width != 0.0 ? (x - domain_[i][0]) / width : 0.0;
    double e = encode_[i][0] + t * (encode_[i][1] - encode_[i][0]);
    double last = static_cast<double>(size_[i] - 1);
    if (!(e >= 0.0)) {
      e = 0.0;
    } else if (e > last) {
      e = last;
    }
    e0[i] = static_cast<int>(std::floor(e));
    e1[i] = static_cast<int>(std::ceil(e));
    frac[i] = e - e0[i];
  }
  const int corners = 1 << m_;
  for (int o = 0; o < n_; ++o) {
    // Collapse the 2^m corner samples one input dimension at a time: corner bit i chooses
    // the lower or upper grid index of input i.
    std::array<double, 1 << kMaxInputs> values;
    for (int corner = 0; corner < corners; ++corner) {
      size_t index = 0;
      size_t stride = 1;
      for (int i = 0; i < m_; ++i) {
        index += stride * static_cast<size_t>((corner >> i) & 1 ? e1[i] : e0[i]);
        stride *= static_cast<size_t>(size_[i]);
      }
      values[corner] = samples_[index * n_ + o];
    }
    for (int i = 0, count = corners; i < m_; ++i, count /= 2) {
      for (int j = 0; j < count / 2; ++j) {
        values[j] = (1.0 - frac[i]) * values[2 * j] + frac[i] * values[2 * j + 1];
      }
    }
    double y = values[0];
    out[o] = clipOutput(o, decode_[o][0] + y * (decode_[o][1] - decode_[o][0]));
  }
}

}  // namespace qv
