// A finite field of q elements, 2 <= q <= 16384: GF(2^m) defined by a reduction
// polynomial, or a prime field GF(p). After Init, multiplication, division,
// inversion, logarithm and power are table look-ups over a primitive element;
// the *Direct operations work without tables.
#pragma once

#include <cstdint>
#include <vector>

namespace varnelo::qr {

class GaloisField {
 public:
  static constexpr int kMaxSize = 16384;

  // Copies are deep (the tables are values); Release empties the field.
  void Release();

  int Size() const { return size_; }
  int Polynomial() const { return polynomial_; }
  int Generator() const { return generator_; }

  // Smallest primitive element (table-free); 0 when none qualifies.
  int FindPrimitiveElement() const;
  // q in 2..16384; polynomial required for q = 2^m (m > 1); generator 0 means
  // "find one". False (object unchanged) for an invalid size or polynomial.
  bool Init(int size, int polynomial = 0, int generator = 0);

  int Add(int a, int b) const;
  int Negate(int a) const;
  int Subtract(int a, int b) const;
  int Multiply(int a, int b) const;        // tables; operands 0..q-1
  int MultiplyDirect(int a, int b) const;  // no tables
  int Inverse(int a) const;                // tables; Inverse(0) = 0
  int InverseDirect(int a) const;          // prime fields only, else 0
  int Divide(int a, int b) const;          // tables; x / 0 = 0
  int DivideDirect(int a, int b) const;    // prime fields only, else 0
  int Log(int a) const;
  int Exp(int n) const;                    // n reduced modulo q - 1

 private:
  bool IsBinary() const { return (size_ & (size_ - 1)) == 0; }

  int size_ = 0;
  int polynomial_ = 0;
  int generator_ = 0;
  std::vector<std::int16_t> log_;  // entry e = log(e) for e in 1..q-1
  std::vector<std::int16_t> exp_;  // entry i = generator^i for i in 0..q-1
};

}  // namespace varnelo::qr
