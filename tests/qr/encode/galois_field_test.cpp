#include "qr/encode/galois_field.h"

#include <gtest/gtest.h>

#include <set>

namespace varnelo::qr {
namespace {

GaloisField Gf256() {
  GaloisField field;
  EXPECT_TRUE(field.Init(256, 0x11D, 2));
  return field;
}

TEST(GaloisField, Gf256TablesAreTheStandardOnes) {
  const GaloisField f = Gf256();
  EXPECT_EQ(f.Size(), 256);
  EXPECT_EQ(f.Polynomial(), 0x11D);
  EXPECT_EQ(f.Generator(), 2);
  EXPECT_EQ(f.ExpTable()[8], 29);
  EXPECT_EQ(f.ExpTable()[255], 1);
  EXPECT_EQ(f.Log(2), 1);
  EXPECT_EQ(f.Log(29), 8);
  EXPECT_EQ(f.Log(0), 0);
  EXPECT_EQ(f.Log(1), 0);
  EXPECT_EQ(f.Multiply(2, 128), 29);
  // alpha^i runs through every nonzero element exactly once.
  std::set<int> seen;
  for (int i = 0; i < 255; ++i) seen.insert(f.ExpTable()[static_cast<std::size_t>(i)]);
  EXPECT_EQ(seen.size(), 255u);
  EXPECT_EQ(seen.count(0), 0u);
}

TEST(GaloisField, TableMultiplyAgreesWithDirectOnAllPairs) {
  const GaloisField f = Gf256();
  int mismatches = 0;
  for (int a = 0; a < 256; ++a) {
    for (int b = 0; b < 256; ++b) {
      if (f.Multiply(a, b) != f.MultiplyDirect(a, b)) ++mismatches;
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(GaloisField, InverseDivideLogExpIdentities) {
  const GaloisField f = Gf256();
  for (int x = 1; x < 256; ++x) {
    SCOPED_TRACE(x);
    EXPECT_EQ(f.Multiply(x, f.Inverse(x)), 1);
    EXPECT_EQ(f.Divide(x, x), 1);
    EXPECT_EQ(f.Divide(1, x), f.Inverse(x));
    EXPECT_EQ(f.Exp(f.Log(x)), x);
    EXPECT_EQ(f.Divide(f.Multiply(x, 77), 77), x);
    EXPECT_EQ(f.Subtract(f.Add(x, 200), 200), x);
    EXPECT_EQ(f.Negate(x), x);
  }
  EXPECT_EQ(f.Inverse(1), 1);
  EXPECT_EQ(f.Inverse(0), 0);
  EXPECT_EQ(f.Divide(5, 0), 0);
  EXPECT_EQ(f.Divide(0, 5), 0);
  EXPECT_EQ(f.Multiply(0, 77), 0);
  EXPECT_EQ(f.Exp(-1), f.ExpTable()[254]);
  EXPECT_EQ(f.Exp(255), 1);
  EXPECT_EQ(f.Exp(256), 2);
  // Power-of-two fields have no table-free inverse or division.
  EXPECT_EQ(f.InverseDirect(3), 0);
  EXPECT_EQ(f.DivideDirect(6, 3), 0);
}

TEST(GaloisField, FindsTheGeneratorWhenNoneIsGiven) {
  GaloisField f;
  ASSERT_TRUE(f.Init(256, 0x11D));
  EXPECT_EQ(f.Generator(), 2);
  EXPECT_EQ(f.FindPrimitiveElement(), 2);
  EXPECT_EQ(f.Multiply(2, 128), 29);
}

TEST(GaloisField, InitRejectsBadArgumentsAndKeepsTheField) {
  GaloisField f = Gf256();
  struct Case {
    int size, polynomial, generator;
  };
  for (const Case c : {Case{1, 0x11D, 2}, Case{0, 0, 0}, Case{-4, 0, 0}, Case{16385, 0x11D, 2},
                       Case{256, 0, 2}, Case{256, 0x11D, 256}, Case{256, 0x11D, -3},
                       Case{256, 0x11D, 1}, Case{15, 0, 0}, Case{9, 0, 2}, Case{7, 0, 2}}) {
    SCOPED_TRACE(c.size);
    EXPECT_FALSE(f.Init(c.size, c.polynomial, c.generator));
    EXPECT_EQ(f.Size(), 256);
    EXPECT_EQ(f.Polynomial(), 0x11D);
    EXPECT_EQ(f.Multiply(2, 128), 29);
  }
  // x^8 + 1 is reducible: no element generates the group, so no tables. (2 has
  // order 3 modulo 7 in the case above.)
  EXPECT_FALSE(f.Init(256, 0x101));
  EXPECT_EQ(f.Multiply(2, 128), 29);
}

TEST(GaloisField, LargestBinaryFieldBuildsAFullCycle) {
  GaloisField f;
  // x^14 + x^10 + x^6 + x + 1.
  ASSERT_TRUE(f.Init(16384, 0x4443, 2));
  std::set<int> seen;
  for (int i = 0; i < 16383; ++i) seen.insert(f.Exp(i));
  EXPECT_EQ(seen.size(), 16383u);
  for (int x : {1, 2, 3, 1000, 16383}) EXPECT_EQ(f.Multiply(x, f.Inverse(x)), 1);
  EXPECT_EQ(f.Multiply(9999, 12345), f.MultiplyDirect(9999, 12345));
}

TEST(GaloisField, TwoElementField) {
  GaloisField f;
  ASSERT_TRUE(f.Init(2));
  EXPECT_EQ(f.Size(), 2);
  EXPECT_EQ(f.Polynomial(), 2);
  EXPECT_EQ(f.Generator(), 1);
  EXPECT_EQ(f.MultiplyDirect(1, 1), 1);
  EXPECT_EQ(f.Multiply(1, 1), 1);
  EXPECT_EQ(f.Inverse(1), 1);
  EXPECT_EQ(f.InverseDirect(1), 1);
  EXPECT_EQ(f.DivideDirect(1, 1), 1);
  EXPECT_EQ(f.Add(1, 1), 0);
  EXPECT_EQ(f.Exp(5), 1);
}

TEST(GaloisField, PrimeFieldSeven) {
  GaloisField f;
  ASSERT_TRUE(f.Init(7));
  EXPECT_EQ(f.Polynomial(), 7);
  // 2 has order 3 modulo 7, so 3 is the first primitive element.
  EXPECT_EQ(f.FindPrimitiveElement(), 3);
  EXPECT_EQ(f.Generator(), 3);
  const std::vector<std::int16_t> expected = {1, 3, 2, 6, 4, 5, 1};
  EXPECT_EQ(std::vector<std::int16_t>(f.ExpTable().begin(), f.ExpTable().end()), expected);
  EXPECT_EQ(f.Add(5, 4), 2);
  EXPECT_EQ(f.Add(2, 3), 5);
  EXPECT_EQ(f.Subtract(2, 5), 4);
  EXPECT_EQ(f.Subtract(5, 2), 3);
  EXPECT_EQ(f.Negate(3), 4);
  EXPECT_EQ(f.Negate(0), 0);
  EXPECT_EQ(f.InverseDirect(3), 5);
  EXPECT_EQ(f.DivideDirect(6, 3), 2);
  for (int a = 1; a < 7; ++a) {
    EXPECT_EQ(f.InverseDirect(a), f.Inverse(a));
    for (int b = 0; b < 7; ++b) {
      EXPECT_EQ(f.Multiply(a, b), a * b % 7);
      EXPECT_EQ(f.MultiplyDirect(a, b), a * b % 7);
      if (b != 0) {
        EXPECT_EQ(f.DivideDirect(a, b), f.Divide(a, b));
      }
    }
  }
}

TEST(GaloisField, OperandsOutsideTheFieldReadNothingOutside) {
  const GaloisField f = Gf256();
  EXPECT_EQ(f.Multiply(256, 3), 0);
  EXPECT_EQ(f.Multiply(3, -1), 0);
  EXPECT_EQ(f.Divide(70000, 3), 0);
  EXPECT_EQ(f.Inverse(-5), 0);
  EXPECT_EQ(f.Log(300), 0);
  EXPECT_EQ(f.MultiplyDirect(1 << 20, 3), 0);
  // A field that was never set up (or was released) answers 0.
  GaloisField empty;
  EXPECT_EQ(empty.Multiply(1, 1), 0);
  EXPECT_EQ(empty.Exp(3), 0);
  EXPECT_EQ(empty.Inverse(1), 0);
  GaloisField released = Gf256();
  released.Release();
  EXPECT_EQ(released.Size(), 0);
  EXPECT_EQ(released.Multiply(2, 128), 0);
}

TEST(GaloisField, CopiesAreIndependent) {
  GaloisField a = Gf256();
  GaloisField b = a;
  ASSERT_TRUE(a.Init(7));
  EXPECT_EQ(b.Size(), 256);
  EXPECT_EQ(b.Multiply(2, 128), 29);
}

}  // namespace
}  // namespace varnelo::qr
