// Systematic Reed-Solomon coder over a GaloisField: generator polynomial of
// degree e with roots g^r .. g^(r+e-1); parity of one block computed in place.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "qr/encode/galois_field.h"

namespace varnelo::qr {

class ReedSolomonEncoder {
 public:
  static constexpr int kCapacity = 1024;  // bound on k + e

  void Release();

  GaloisField Field() const { return field_; }
  // Replaces the field; the coder needs a new Init before it encodes again.
  void SetField(const GaloisField& field) {
    field_ = field;
    ready_ = false;
  }
  int GeneratorElement() const { return generatorElement_; }
  void SetGeneratorElement(int g) { generatorElement_ = g; }
  int DataCount() const { return dataCount_; }
  int EcCount() const { return ecCount_; }
  int FirstRoot() const { return firstRoot_; }
  // Coefficient of x^i of the generator, i in 0..1023 (0 outside).
  int GeneratorCoefficient(int i) const;

  // k data and e parity symbols per block (k, e > 0, k + e <= 1024); the field
  // is required (nullptr fails) and copied into the coder; generatorElement 0
  // means the stored one, else the field's generator; firstRoot >= 0.
  // Returns 1 on success, 0 on failure.
  int Init(int dataCount, int ecCount, const GaloisField* field, int generatorElement = 0,
           int firstRoot = 0);

  // message[e .. e+k-1] hold the data (first data symbol at the highest index);
  // on return message[0 .. e-1] hold the parity (first parity symbol at e-1)
  // and the data is unchanged. A span shorter than e + k, or a coder without a
  // successful Init, leaves the message untouched.
  void Encode(std::span<std::int32_t> message) const;

 private:
  // The GF(2^m), m <= 8, path of Encode over bytes; false (message untouched)
  // when a data symbol lies outside the field.
  bool EncodeBytes(std::span<std::int32_t> message) const;

  GaloisField field_;
  int dataCount_ = 0;
  int ecCount_ = 0;
  int generatorElement_ = 0;
  int firstRoot_ = 0;
  bool ready_ = false;
  std::vector<std::int32_t> generator_ = std::vector<std::int32_t>(kCapacity, 0);
  // Binary fields only: logarithms of the generator's coefficients (-1 for a
  // zero coefficient) and the power table written out twice, so that the
  // inner loop of Encode adds two logarithms without reducing them.
  std::vector<std::int32_t> generatorLog_;
  std::vector<std::int32_t> wideExp_;
  // Binary fields of at most 256 elements: products[f * e + j] = f * g_j, so
  // that one division step is e byte XORs. Rebuilt only when the generator
  // polynomial changes (productKey_: field size, polynomial, coefficients).
  std::vector<std::uint8_t> products_;
  std::vector<std::int32_t> productKey_;
};

}  // namespace varnelo::qr
