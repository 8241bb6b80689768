// A finite field of q elements, 2 <= q <= 16384: GF(2^m) defined by a reduction
// polynomial, or a prime field GF(p). After Init, multiplication, division,
// inversion, logarithm and power are table look-ups over a primitive element;
// the *Direct operations work without tables.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace varnelo::qr {

class GaloisField {
 public:
  static constexpr int kMaxSize = 16384;

  // Copies are deep (the tables are values); Release empties the field
  // (size 0, no tables) until the next successful Init.
  void Release();

  int Size() const { return size_; }
  // The reduction polynomial including its x^m term (q = 2^m), the modulus q
  // for a prime field, 2 for q = 2.
  int Polynomial() const { return polynomial_; }
  int Generator() const { return generator_; }

  // Smallest primitive element found table-free; 0 when none qualifies.
  // Needs only the size and the polynomial.
  int FindPrimitiveElement() const;
  // size q in 2..16384, a power of two or a prime; polynomial required for
  // q = 2^m with m > 1 (for a prime q it is ignored); generator 0 means "find
  // one". False, with the object unchanged, for a size out of range or
  // composite, a missing polynomial, or a generator that is not primitive
  // (tables built on it would give wrong products).
  bool Init(int size, int polynomial = 0, int generator = 0);

  int Add(int a, int b) const;
  int Negate(int a) const;
  int Subtract(int a, int b) const;
  // Table operations take field elements 0..q-1; an operand outside that range,
  // or a field without tables, gives 0 instead of reading outside the tables.
  int Multiply(int a, int b) const;
  int MultiplyDirect(int a, int b) const;  // no tables
  int Inverse(int a) const;                // Inverse(0) = 0
  int InverseDirect(int a) const;          // prime fields (and q = 2) only, else 0
  int Divide(int a, int b) const;          // x / 0 = 0
  int DivideDirect(int a, int b) const;    // prime fields (and q = 2) only, else 0
  int Log(int a) const;                    // Log(0) = 0
  int Exp(int n) const;                    // n reduced modulo q - 1

  // The raw tables (q entries each; empty before Init) for coders that keep
  // their own logarithms: LogTable()[e] = log(e), ExpTable()[i] = generator^i.
  std::span<const std::int16_t> LogTable() const { return log_; }
  std::span<const std::int16_t> ExpTable() const { return exp_; }

  bool IsBinary() const { return (size_ & (size_ - 1)) == 0; }

 private:
  bool IsElement(int a) const { return static_cast<unsigned>(a) < static_cast<unsigned>(size_); }
  // r0 = q, r1 = a, extended Euclid: the inverse of a modulo a prime q.
  int InverseModPrime(int a) const;

  int size_ = 0;
  int polynomial_ = 0;
  int generator_ = 0;
  std::vector<std::int16_t> log_;  // entry e = log(e) for e in 1..q-1; 0 and 1 hold 0
  std::vector<std::int16_t> exp_;  // entry i = generator^i for i in 0..q-1 (q-1: 1)
};

}  // namespace varnelo::qr
