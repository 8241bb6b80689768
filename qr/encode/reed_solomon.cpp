#include "qr/encode/reed_solomon.h"

#include <algorithm>
#include <array>

namespace varnelo::qr {

void ReedSolomonEncoder::Release() {
  field_.Release();
  dataCount_ = 0;
  ecCount_ = 0;
  generatorElement_ = 0;
  firstRoot_ = 0;
  ready_ = false;
  std::fill(generator_.begin(), generator_.end(), 0);
  generatorLog_.clear();
  wideExp_.clear();
  products_.clear();
  productKey_.clear();
}

int ReedSolomonEncoder::GeneratorCoefficient(int i) const {
  if (i < 0 || i >= kCapacity) return 0;
  return generator_[static_cast<std::size_t>(i)];
}

int ReedSolomonEncoder::Init(int dataCount, int ecCount, const GaloisField* field,
                             int generatorElement, int firstRoot) {
  if (dataCount <= 0 || ecCount <= 0 || dataCount + ecCount > kCapacity) return 0;
  if (firstRoot < 0) return 0;
  if (field == nullptr) return 0;
  // A field is fixed by its size, polynomial and generator: an equal one
  // need not be copied again.
  const bool sameField = field_.Size() == field->Size() && field_.Polynomial() == field->Polynomial() &&
                         field_.Generator() == field->Generator();
  const bool wasReady = ready_;
  ready_ = false;
  if (!sameField) field_ = *field;
  int g = generatorElement != 0 ? generatorElement : generatorElement_;
  if (g == 0) g = field_.Generator();
  if (g == 0 || field_.Size() < 2) return 0;

  // The generator polynomial depends on e, g and r only; every symbol of a
  // version and level asks for the one already built.
  if (wasReady && sameField && ecCount == ecCount_ && g == generatorElement_ && firstRoot == firstRoot_) {
    dataCount_ = dataCount;
    ready_ = true;
    return 1;
  }

  dataCount_ = dataCount;
  ecCount_ = ecCount;
  generatorElement_ = g;
  firstRoot_ = firstRoot;

  // acc = g^firstRoot by square-and-multiply.
  int acc = 1;
  for (int r = firstRoot, square = g; r != 0; r >>= 1) {
    if ((r & 1) != 0) acc = field_.Multiply(acc, square);
    square = field_.Multiply(square, square);
  }
  acc = field_.Negate(acc);

  // Start from x - g^r and multiply in x - g^(r+i-1) for i = 2..e, in place,
  // highest coefficient first.
  std::fill(generator_.begin(), generator_.end(), 0);
  generator_[0] = acc;
  generator_[1] = 1;
  for (int i = 2; i <= ecCount; ++i) {
    acc = field_.Multiply(acc, g);
    generator_[static_cast<std::size_t>(i)] = 1;
    for (int j = i - 1; j >= 1; --j) {
      generator_[static_cast<std::size_t>(j)] =
          field_.Add(generator_[static_cast<std::size_t>(j - 1)],
                     field_.Multiply(generator_[static_cast<std::size_t>(j)], acc));
    }
    generator_[0] = field_.Multiply(generator_[0], acc);
  }

  if (field_.IsBinary()) {
    const auto logs = field_.LogTable();
    const auto powers = field_.ExpTable();
    const int order = field_.Size() - 1;
    generatorLog_.resize(static_cast<std::size_t>(ecCount));
    for (int j = 0; j < ecCount; ++j) {
      const int c = generator_[static_cast<std::size_t>(j)];
      generatorLog_[static_cast<std::size_t>(j)] = c == 0 ? -1 : logs[static_cast<std::size_t>(c)];
    }
    wideExp_.resize(static_cast<std::size_t>(2 * order));
    for (int i = 0; i < order; ++i) {
      wideExp_[static_cast<std::size_t>(i)] = wideExp_[static_cast<std::size_t>(i + order)] =
          powers[static_cast<std::size_t>(i)];
    }
    if (field_.Size() <= 256) {
      // The products depend on the field and the generator's coefficients.
      const auto coefficients = std::span(generator_).first(static_cast<std::size_t>(ecCount));
      const bool same = productKey_.size() == coefficients.size() + 2 &&
                        productKey_[0] == field_.Size() && productKey_[1] == field_.Polynomial() &&
                        std::equal(coefficients.begin(), coefficients.end(), productKey_.begin() + 2);
      if (!same) {
        productKey_.assign({field_.Size(), field_.Polynomial()});
        productKey_.insert(productKey_.end(), coefficients.begin(), coefficients.end());
        products_.assign(static_cast<std::size_t>(field_.Size()) * static_cast<std::size_t>(ecCount), 0);
        for (int f = 1; f < field_.Size(); ++f) {
          for (int j = 0; j < ecCount; ++j) {
            products_[static_cast<std::size_t>(f * ecCount + j)] =
                static_cast<std::uint8_t>(field_.Multiply(f, coefficients[static_cast<std::size_t>(j)]));
          }
        }
      }
    }
  }
  ready_ = true;
  return 1;
}

bool ReedSolomonEncoder::EncodeBytes(std::span<std::int32_t> message) const {
  const int k = dataCount_;
  const int e = ecCount_;
  const auto q = static_cast<unsigned>(field_.Size());
  std::array<std::uint8_t, kCapacity> scratch;
  std::fill_n(scratch.begin(), e, std::uint8_t{0});
  for (int i = 0; i < k; ++i) {
    const std::int32_t d = message[static_cast<std::size_t>(e + i)];
    // Symbols outside the field take the general path, which treats them as 0
    // in products.
    if (static_cast<unsigned>(d) >= q) return false;
    scratch[static_cast<std::size_t>(e + i)] = static_cast<std::uint8_t>(d);
  }
  const std::uint8_t* products = products_.data();
  for (int i = k - 1; i >= 0; --i) {
    const unsigned f = scratch[static_cast<std::size_t>(i + e)];
    if (f == 0) continue;
    const std::uint8_t* product = products + f * static_cast<unsigned>(e);
    std::uint8_t* row = scratch.data() + i;
    for (int j = 0; j < e; ++j) row[j] ^= product[j];
  }
  // In characteristic 2 the parity is the remainder itself.
  for (int i = 0; i < e; ++i) message[static_cast<std::size_t>(i)] = scratch[static_cast<std::size_t>(i)];
  return true;
}

void ReedSolomonEncoder::Encode(std::span<std::int32_t> message) const {
  const int k = dataCount_;
  const int e = ecCount_;
  if (!ready_ || message.size() < static_cast<std::size_t>(k + e)) return;

  const int q = field_.Size();
  if (field_.IsBinary() && q <= 256 && EncodeBytes(message)) return;

  // Long division of x^e * d(x) by the generator in a scratch copy; what is
  // left in scratch[0 .. e-1] is the remainder.
  std::array<std::int32_t, kCapacity> scratch;
  std::fill_n(scratch.begin(), e, 0);
  std::copy_n(message.begin() + e, k, scratch.begin() + e);

  if (field_.IsBinary()) {
    const auto logs = field_.LogTable();
    const auto order = static_cast<unsigned>(field_.Size());
    const int* generatorLog = generatorLog_.data();
    const int* wideExp = wideExp_.data();
    const bool dense = std::none_of(generatorLog_.begin(), generatorLog_.end(),
                                    [](int l) { return l < 0; });
    for (int i = k - 1; i >= 0; --i) {
      const int f = scratch[static_cast<std::size_t>(i + e)];
      // A symbol outside the field multiplies as 0, as Multiply treats it.
      if (f == 0 || static_cast<unsigned>(f) >= order) continue;
      const int logF = logs[static_cast<std::size_t>(f)];
      std::int32_t* row = scratch.data() + i;
      if (dense) {
        for (int j = 0; j < e; ++j) row[j] ^= wideExp[logF + generatorLog[j]];
      } else {
        for (int j = 0; j < e; ++j) {
          if (generatorLog[j] >= 0) row[j] ^= wideExp[logF + generatorLog[j]];
        }
      }
    }
  } else {
    for (int i = k - 1; i >= 0; --i) {
      const int f = scratch[static_cast<std::size_t>(i + e)];
      for (int j = 0; j < e; ++j) {
        auto& cell = scratch[static_cast<std::size_t>(i + j)];
        cell = field_.Subtract(cell, field_.Multiply(f, generator_[static_cast<std::size_t>(j)]));
      }
    }
  }
  for (int i = 0; i < e; ++i) message[static_cast<std::size_t>(i)] = field_.Negate(scratch[static_cast<std::size_t>(i)]);
}

}  // namespace varnelo::qr
