#pragma once

// A PDF function (sampled, exponential, stitching, PostScript calculator, or the name
// Identity): maps m inputs to n outputs. Built by CPDFFunction::parse from a file object and
// owned by one caller (a colour space, a shading, an image's colour map) through
// std::unique_ptr; copy() makes an independent deep copy. Evaluation never fails and never
// reports once a function is built, except the calculator's stack errors. Immutable after
// parsing, so transform() may run on any thread that holds the function.

#include <array>
#include <memory>

namespace qv {

class CPDFDict;
class CPDFObject;

class CPDFFunction {
 public:
  static constexpr int kMaxInputs = 8;
  static constexpr int kMaxOutputs = 8;

  virtual ~CPDFFunction() = default;

  // The function `object` describes, or null (reported) when it is not a usable function.
  // A reference is resolved; a stream's dictionary holds the parameters.
  static std::unique_ptr<CPDFFunction> parse(const CPDFObject& object);

  virtual std::unique_ptr<CPDFFunction> copy() const = 0;
  // Reads inputSize() values from `in`, writes outputSize() values to `out`.
  virtual void transform(const double* in, double* out) const = 0;
  virtual bool isOk() const = 0;

  int inputSize() const { return m_; }
  int outputSize() const { return n_; }
  bool hasRange() const { return hasRange_; }
  double domainLow(int i) const { return domain_[i][0]; }
  double domainHigh(int i) const { return domain_[i][1]; }
  double rangeLow(int i) const { return range_[i][0]; }
  double rangeHigh(int i) const { return range_[i][1]; }

 protected:
  // Budget of one parse: the nesting depth of the function being built and the number of
  // functions built so far.
  struct ParseState {
    int depth = 0;
    int nodes = 0;
  };
  static std::unique_ptr<CPDFFunction> parse(const CPDFObject& object, ParseState& state);

  CPDFFunction() = default;
  CPDFFunction(const CPDFFunction&) = default;
  CPDFFunction& operator=(const CPDFFunction&) = default;

  // Reads Domain and Range; false (reported) when they are unusable.
  bool readDomainAndRange(const CPDFDict& dict);
  // `value` limited to input i's domain / output i's range (when there is one).
  double clipInput(int i, double value) const;
  double clipOutput(int i, double value) const;

  int m_ = 0;
  int n_ = 0;
  std::array<std::array<double, 2>, kMaxInputs> domain_{};
  std::array<std::array<double, 2>, kMaxOutputs> range_{};
  bool hasRange_ = false;
  // Outputs the Range array gave limits for.
  int rangeCount_ = 0;
};

}  // namespace qv
