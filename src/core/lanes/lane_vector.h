// Several doubles side by side as one value: the lane vectors of the nonlinear fast path. Every
// operation is the scalar IEEE operation lane by lane, so a lane's result is the scalar result.
#pragma once

#include <cstdint>

#include "core/runtime/execution.h"

// Inlined into the caller, whose target (AVX-512, AVX2, SSE2) then compiles it.
#define SPECTRA_LANES_INLINE inline __attribute__((always_inline))

namespace core::lanes {

// G registers of W doubles (a register of W = 1 is a scalar): W·G lanes. The G registers are
// independent chains, which fill the pipeline while each waits on its own division.
template <int W, int G>
struct Pack {
  typedef double R __attribute__((vector_size(8 * W)));
  R r[G];

  SPECTRA_LANES_INLINE double operator[](int l) const { return r[l / W][l % W]; }
  SPECTRA_LANES_INLINE double& operator[](int l) { return reinterpret_cast<double*>(r)[l]; }
};

// Lane masks of a Pack: all bits set where true.
template <int W, int G>
struct PackMask {
  typedef long long R __attribute__((vector_size(8 * W)));
  R r[G];

  SPECTRA_LANES_INLINE long long operator[](int l) const { return r[l / W][l % W]; }
  SPECTRA_LANES_INLINE long long& operator[](int l) { return reinterpret_cast<long long*>(r)[l]; }
};

#define SPECTRA_LANES_BINARY(Type, Op)                                                    \
  template <int W, int G>                                                                 \
  SPECTRA_LANES_INLINE Type<W, G> operator Op(const Type<W, G>& a, const Type<W, G>& b) { \
    Type<W, G> c;                                                                         \
    for (int g = 0; g < G; ++g) c.r[g] = a.r[g] Op b.r[g];                                \
    return c;                                                                             \
  }
#define SPECTRA_LANES_SCALAR(Type, Scalar, Op)                                 \
  template <int W, int G>                                                      \
  SPECTRA_LANES_INLINE Type<W, G> operator Op(const Type<W, G>& a, Scalar b) { \
    Type<W, G> c;                                                              \
    for (int g = 0; g < G; ++g) c.r[g] = a.r[g] Op b;                          \
    return c;                                                                  \
  }                                                                            \
  template <int W, int G>                                                      \
  SPECTRA_LANES_INLINE Type<W, G> operator Op(Scalar a, const Type<W, G>& b) { \
    Type<W, G> c;                                                              \
    for (int g = 0; g < G; ++g) c.r[g] = a Op b.r[g];                          \
    return c;                                                                  \
  }
// The mask of a comparison, made opaque: the compiler fixes the kind of a comparison's result for
// the unit of the function it is written in (here the baseline one, before inlining), and may
// not combine two such results into a condition that the caller's unit can evaluate whole. An
// empty statement that takes and returns the mask in a vector register keeps each whole. (Clang
// checks the register against the baseline unit of this function and refuses the wider ones; it
// needs no such statement.)
template <class R>
SPECTRA_LANES_INLINE R opaque(R mask) {
#if (defined(__x86_64__) || defined(__i386__)) && !defined(__clang__)
  asm("" : "+v"(mask));
#endif
  return mask;
}

#define SPECTRA_LANES_COMPARE(Type, Scalar, Op)                                               \
  template <int W, int G>                                                                     \
  SPECTRA_LANES_INLINE PackMask<W, G> operator Op(const Type<W, G>& a, const Type<W, G>& b) { \
    typedef typename PackMask<W, G>::R MR;                                                    \
    PackMask<W, G> c;                                                                         \
    for (int g = 0; g < G; ++g) c.r[g] = opaque<MR>((a.r[g] Op b.r[g]) ? MR{} - 1 : MR{});    \
    return c;                                                                                 \
  }                                                                                           \
  template <int W, int G>                                                                     \
  SPECTRA_LANES_INLINE PackMask<W, G> operator Op(const Type<W, G>& a, Scalar b) {            \
    typedef typename PackMask<W, G>::R MR;                                                    \
    PackMask<W, G> c;                                                                         \
    for (int g = 0; g < G; ++g) c.r[g] = opaque<MR>((a.r[g] Op b) ? MR{} - 1 : MR{});         \
    return c;                                                                                 \
  }

SPECTRA_LANES_BINARY(Pack, +)
SPECTRA_LANES_BINARY(Pack, -)
SPECTRA_LANES_BINARY(Pack, *)
SPECTRA_LANES_BINARY(Pack, /)
SPECTRA_LANES_SCALAR(Pack, double, +)
SPECTRA_LANES_SCALAR(Pack, double, -)
SPECTRA_LANES_SCALAR(Pack, double, *)
SPECTRA_LANES_SCALAR(Pack, double, /)
SPECTRA_LANES_COMPARE(Pack, double, <)
SPECTRA_LANES_COMPARE(Pack, double, <=)
SPECTRA_LANES_COMPARE(Pack, double, >)
SPECTRA_LANES_COMPARE(Pack, double, >=)
SPECTRA_LANES_COMPARE(Pack, double, ==)
SPECTRA_LANES_BINARY(PackMask, &)
SPECTRA_LANES_BINARY(PackMask, |)
SPECTRA_LANES_BINARY(PackMask, +)
SPECTRA_LANES_BINARY(PackMask, -)
SPECTRA_LANES_SCALAR(PackMask, long long, +)
SPECTRA_LANES_COMPARE(PackMask, long long, <)
SPECTRA_LANES_COMPARE(PackMask, long long, <=)
SPECTRA_LANES_COMPARE(PackMask, long long, ==)

#undef SPECTRA_LANES_BINARY
#undef SPECTRA_LANES_SCALAR
#undef SPECTRA_LANES_COMPARE

template <int W, int G>
SPECTRA_LANES_INLINE Pack<W, G> operator-(const Pack<W, G>& a) {
  Pack<W, G> c;
  for (int g = 0; g < G; ++g) c.r[g] = -a.r[g];
  return c;
}

template <int W, int G>
SPECTRA_LANES_INLINE PackMask<W, G> operator~(const PackMask<W, G>& a) {
  PackMask<W, G> c;
  for (int g = 0; g < G; ++g) c.r[g] = ~a.r[g];
  return c;
}

// Every lane x.
template <class V>
SPECTRA_LANES_INLINE V splat(double x) {
  typedef typename V::R R;
  V c;
  for (R& r : c.r) r = R{} + x;
  return c;
}

// a where the mask is set, b elsewhere: a blend, or the bits of a and b for a unit without one
// (SSE2), where the compiler would branch lane by lane.
template <int W, int G>
SPECTRA_LANES_INLINE Pack<W, G> select(const PackMask<W, G>& mask, const Pack<W, G>& a,
                                       const Pack<W, G>& b) {
  typedef typename PackMask<W, G>::R MR;
  typedef typename Pack<W, G>::R VR;
  Pack<W, G> c;
  for (int g = 0; g < G; ++g) {
    if constexpr (W == 2)
      c.r[g] = (VR)(((MR)a.r[g] & mask.r[g]) | ((MR)b.r[g] & ~mask.r[g]));
    else
      c.r[g] = mask.r[g] ? a.r[g] : b.r[g];
  }
  return c;
}

template <int W, int G>
SPECTRA_LANES_INLINE PackMask<W, G> select(const PackMask<W, G>& mask, const PackMask<W, G>& a,
                                           const PackMask<W, G>& b) {
  PackMask<W, G> c;
  for (int g = 0; g < G; ++g) c.r[g] = (a.r[g] & mask.r[g]) | (b.r[g] & ~mask.r[g]);
  return c;
}

// |x| by clearing the sign bit, as fabs does (NaN stays NaN).
template <int W, int G>
SPECTRA_LANES_INLINE Pack<W, G> absolute(const Pack<W, G>& x) {
  typedef typename PackMask<W, G>::R MR;
  typedef typename Pack<W, G>::R VR;
  Pack<W, G> c;
  for (int g = 0; g < G; ++g) c.r[g] = (VR)((MR)x.r[g] & (MR{} + 0x7fffffffffffffffLL));
  return c;
}

// The lanes of a register of W masks or-ed together, halving the register each time.
template <int W, class R>
SPECTRA_LANES_INLINE long long orLanes(R bits) {
  if constexpr (W == 1) {
    return bits[0];
  } else {
    typedef long long Half __attribute__((vector_size(4 * W)));
    Half low, high;
    __builtin_memcpy(&low, &bits, sizeof low);
    __builtin_memcpy(&high, reinterpret_cast<const char*>(&bits) + sizeof low, sizeof high);
    return orLanes<W / 2>(low | high);
  }
}

// √x lane by lane, correctly rounded as std::sqrt (the sign and payload of a NaN may differ): one
// instruction of the caller's unit, written out because the compiler has no generic vector square
// root. Clang checks the registers against the baseline unit of this function and refuses the
// wider ones; it takes the square root lane by lane, which rounds the same.
template <int W, int G>
SPECTRA_LANES_INLINE Pack<W, G> squareRoot(const Pack<W, G>& x) {
  Pack<W, G> c;
  for (int g = 0; g < G; ++g) {
#if (defined(__x86_64__) || defined(__i386__)) && !defined(__clang__)
    if constexpr (W == 1) {
      c.r[g][0] = __builtin_sqrt(x.r[g][0]);
    } else if constexpr (W == 2) {
      c.r[g] = x.r[g];
      asm("sqrtpd %0, %0" : "+x"(c.r[g]));
    } else {
      asm("vsqrtpd %1, %0" : "=v"(c.r[g]) : "v"(x.r[g]));
    }
#else
    for (int l = 0; l < W; ++l) c.r[g][l] = __builtin_sqrt(x.r[g][l]);
#endif
  }
  return c;
}

// Whether any lane of the mask is set.
template <int W, int G>
SPECTRA_LANES_INLINE bool any(const PackMask<W, G>& mask) {
  typename PackMask<W, G>::R bits = mask.r[0];
  for (int g = 1; g < G; ++g) bits |= mask.r[g];
  return orLanes<W>(bits) != 0;
}

// The lanes of one vector unit: L = W·G doubles as V, their masks as M.
template <int W, int G>
struct Lanes {
  static constexpr int kCount = W * G;
  typedef Pack<W, G> V;
  typedef PackMask<W, G> M;
};

// The lanes the nonlinear fast path advances together on a vector unit: G registers' worth (G
// interleaved scalar chains without a unit).
template <VectorUnit unit, int G>
using LanesOf = Lanes<unit == VectorUnit::AVX512 ? 8
                      : unit == VectorUnit::AVX2 ? 4
                      : unit == VectorUnit::SSE2 ? 2
                                                 : 1,
                      G>;

}  // namespace core::lanes
