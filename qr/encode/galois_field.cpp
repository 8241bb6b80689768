#include "qr/encode/galois_field.h"

#include <array>
#include <cmath>
#include <cstdint>

namespace varnelo::qr {
namespace {

bool IsPowerOfTwo(int q) { return (q & (q - 1)) == 0; }

bool IsPrime(int q) {
  if (q < 2) return false;
  for (int d = 2; d * d <= q; ++d) {
    if (q % d == 0) return false;
  }
  return true;
}

// a * b in the field of q elements with the given polynomial, without tables.
// Operands must be elements 0..q-1.
int MultiplyNoTables(int q, int polynomial, int a, int b) {
  if (a == 0 || b == 0) return 0;
  if (q == 2) return 1;
  if (!IsPowerOfTwo(q)) {
    return static_cast<int>(static_cast<std::int64_t>(a) * b % q);
  }
  // Shift-and-add: each set bit of b adds the matching multiple x^k * a, and a
  // is reduced by the polynomial whenever it reaches degree m.
  int product = 0;
  for (int bit = 1;; bit <<= 1) {
    if ((b & bit) != 0) {
      b ^= bit;
      product ^= a;
    }
    if (b == 0) return product;
    a <<= 1;
    if ((a & q) != 0) a = (a ^ polynomial) & (q - 1);
  }
}

// Smallest element whose order is q - 1: for every prime p dividing q - 1,
// g^((q-1)/p) must differ from 1.
int FindPrimitive(int q, int polynomial) {
  if (q < 3) return 0;
  std::array<int, 16> exponents{};
  int exponentCount = 0;
  int n = q - 1;
  if (n % 2 == 0) {
    exponents[exponentCount++] = (q - 1) / 2;
    while (n % 2 == 0) n /= 2;
  }
  int limit = static_cast<int>(std::sqrt(static_cast<double>(n))) + 2;
  for (int p = 3; p <= limit; p += 2) {
    if (n % p != 0) continue;
    while (n % p == 0) n /= p;
    exponents[exponentCount++] = (q - 1) / p;
    limit = static_cast<int>(std::sqrt(static_cast<double>(n))) + 2;
  }
  if (n > 1) exponents[exponentCount++] = (q - 1) / n;

  // 14 squarings cover every exponent below 16384.
  constexpr int kSquares = 14;
  for (int g = 2; g < q; ++g) {
    std::array<int, kSquares> squares{};
    squares[0] = g;
    for (int j = 1; j < kSquares; ++j) {
      squares[j] = MultiplyNoTables(q, polynomial, squares[j - 1], squares[j - 1]);
    }
    bool primitive = true;
    for (int k = 0; k < exponentCount && primitive; ++k) {
      int r = 1;
      for (int e = exponents[k], j = 0; e != 0 && j < kSquares; e >>= 1, ++j) {
        if ((e & 1) != 0) r = MultiplyNoTables(q, polynomial, r, squares[j]);
      }
      if (r == 1) primitive = false;
    }
    if (primitive) return g;
  }
  return 0;
}

}  // namespace

void GaloisField::Release() {
  size_ = 0;
  polynomial_ = 0;
  generator_ = 0;
  log_ = {};
  exp_ = {};
}

int GaloisField::FindPrimitiveElement() const { return FindPrimitive(size_, polynomial_); }

bool GaloisField::Init(int size, int polynomial, int generator) {
  if (size < 2 || size > kMaxSize) return false;
  if (size == 2) {
    size_ = 2;
    polynomial_ = 2;
    generator_ = 1;
    log_.assign(2, 0);
    exp_.assign(2, 1);
    return true;
  }
  const bool binary = IsPowerOfTwo(size);
  if (binary && polynomial == 0) return false;
  // Arithmetic modulo a composite number is no field; refuse it rather than
  // build tables that cannot be right.
  if (!binary && !IsPrime(size)) return false;
  const int modulus = binary ? polynomial : size;
  if (generator == 0) generator = FindPrimitive(size, modulus);
  // A generator must be a nonzero element; none found means the polynomial is
  // not irreducible, and the tables would be meaningless.
  if (generator <= 1 || generator >= size) return false;

  std::vector<std::int16_t> logs(static_cast<std::size_t>(size), 0);
  std::vector<std::int16_t> powers(static_cast<std::size_t>(size), 0);
  logs[static_cast<std::size_t>(generator)] = 1;
  powers[0] = 1;
  powers[static_cast<std::size_t>(size - 1)] = 1;
  powers[1] = static_cast<std::int16_t>(generator);
  // The powers must run through all q - 1 nonzero elements before returning
  // to 1; otherwise the generator is not primitive (or the polynomial not
  // irreducible) and the tables would silently give wrong products.
  int x = generator;
  for (int i = 2; i <= size - 2; ++i) {
    x = MultiplyNoTables(size, modulus, x, generator);
    if (x <= 1) return false;
    logs[static_cast<std::size_t>(x)] = static_cast<std::int16_t>(i);
    powers[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(x);
  }
  if (MultiplyNoTables(size, modulus, x, generator) != 1) return false;

  size_ = size;
  polynomial_ = modulus;
  generator_ = generator;
  log_ = std::move(logs);
  exp_ = std::move(powers);
  return true;
}

int GaloisField::Add(int a, int b) const {
  if (IsBinary()) return a ^ b;
  const int sum = a + b;
  return sum >= size_ ? sum - size_ : sum;
}

int GaloisField::Negate(int a) const {
  if (IsBinary() || a == 0) return a;
  return size_ - a;
}

int GaloisField::Subtract(int a, int b) const {
  if (IsBinary()) return a ^ b;
  const int difference = a - b;
  return difference < 0 ? difference + size_ : difference;
}

int GaloisField::Multiply(int a, int b) const {
  if (a == 0 || b == 0 || !IsElement(a) || !IsElement(b)) return 0;
  int s = log_[static_cast<std::size_t>(a)] + log_[static_cast<std::size_t>(b)];
  if (s >= size_ - 1) s -= size_ - 1;
  return exp_[static_cast<std::size_t>(s)];
}

int GaloisField::MultiplyDirect(int a, int b) const {
  if (!IsElement(a) || !IsElement(b)) return 0;
  return MultiplyNoTables(size_, polynomial_, a, b);
}

int GaloisField::Inverse(int a) const {
  if (a == 0 || !IsElement(a)) return 0;
  return exp_[static_cast<std::size_t>(size_ - 1 - log_[static_cast<std::size_t>(a)])];
}

int GaloisField::InverseModPrime(int a) const {
  int r0 = size_, r1 = a, t0 = 0, t1 = 1;
  while (r1 != 0) {
    const int k = r0 / r1;
    const int r = r0 - k * r1;
    r0 = r1;
    r1 = r;
    const int t = t0 - k * t1;
    t0 = t1;
    t1 = t;
  }
  const int inverse = t0 % size_;
  return inverse < 0 ? inverse + size_ : inverse;
}

int GaloisField::InverseDirect(int a) const {
  if (a == 0 || !IsElement(a)) return 0;
  if (size_ == 2) return 1;
  if (IsBinary()) return 0;
  return InverseModPrime(a);
}

int GaloisField::Divide(int a, int b) const {
  if (a == 0 || b == 0 || !IsElement(a) || !IsElement(b)) return 0;
  int d = log_[static_cast<std::size_t>(a)] - log_[static_cast<std::size_t>(b)];
  if (d < 0) d += size_ - 1;
  return exp_[static_cast<std::size_t>(d)];
}

int GaloisField::DivideDirect(int a, int b) const {
  if (a == 0 || b == 0 || !IsElement(a) || !IsElement(b)) return 0;
  if (size_ == 2) return 1;
  if (IsBinary()) return 0;
  const std::int64_t product = static_cast<std::int64_t>(a) * InverseModPrime(b) % size_;
  return static_cast<int>(product < 0 ? product + size_ : product);
}

int GaloisField::Log(int a) const {
  if (!IsElement(a)) return 0;
  return log_[static_cast<std::size_t>(a)];
}

int GaloisField::Exp(int n) const {
  if (size_ < 2) return 0;
  int r = n % (size_ - 1);
  if (r < 0) r += size_ - 1;
  return exp_[static_cast<std::size_t>(r)];
}

}  // namespace varnelo::qr
