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
  void SetField(const GaloisField& field) { field_ = field; }
  int GeneratorElement() const { return generatorElement_; }
  void SetGeneratorElement(int g) { generatorElement_ = g; }
  int DataCount() const { return dataCount_; }
  int EcCount() const { return ecCount_; }
  int FirstRoot() const { return firstRoot_; }
  // Coefficient of x^i of the generator, i in 0..1023 (0 outside).
  int GeneratorCoefficient(int i) const;

  // k data and e parity symbols per block (k, e > 0, k + e <= 1024); the field
  // is required (nullptr fails); generatorElement 0 = the stored one, else the
  // field's generator; firstRoot >= 0. Returns 1 on success, 0 on failure.
  int Init(int dataCount, int ecCount, const GaloisField* field, int generatorElement = 0,
           int firstRoot = 0);

  // message[e .. e+k-1] hold the data (first data symbol at the highest index);
  // on return message[0 .. e-1] hold the parity (first parity symbol at e-1).
  // The span must hold at least e + k symbols; a shorter one is left untouched.
  void Encode(std::span<std::int32_t> message) const;

 private:
  GaloisField field_;
  int dataCount_ = 0;
  int ecCount_ = 0;
  int generatorElement_ = 0;
  int firstRoot_ = 0;
  std::vector<std::int32_t> generator_ = std::vector<std::int32_t>(kCapacity, 0);
};

}  // namespace varnelo::qr
