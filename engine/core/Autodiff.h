// Forward-mode number types for deriving a Helmholtz energy written once, generic
// in its number type:
//   Jet3     truncated Taylor polynomial in two variables (T, rho) to third order;
//   Partial  value, gradient in M variables and the first K rows of the Hessian
//            (K = M: all of it).
// Both support + - * /, exp, log, pow(x, real), sqrt and integer powers, mixed with double.
#pragma once

#include <cmath>
#include <type_traits>

namespace tarnevo::engine::ad {

// Univariate f at x0 as Taylor coefficients f, f', f''/2, f'''/6.
struct Series {
    double f0, f1, f2, f3;
};
inline Series expSeries(double x) {
    const double e = std::exp(x);
    return {e, e, e / 2, e / 6};
}
inline Series logSeries(double x) {
    const double r = 1 / x;
    return {std::log(x), r, -r * r / 2, r * r * r / 3};
}
inline Series powSeries(double x, double k) {
    const double p = std::pow(x, k - 3);
    const double p2 = p * x, p1 = p2 * x;
    return {p1 * x, k * p1, k * (k - 1) / 2 * p2, k * (k - 1) * (k - 2) / 6 * p};
}
inline Series invSeries(double x) {
    const double r = 1 / x;
    return {r, -r * r, r * r * r, -r * r * r * r};
}

// Coefficients of 1, u, v, u^2, uv, v^2, u^3, u^2 v, u v^2, v^3 (Taylor coefficients,
// i.e. d^(a+b) f / du^a dv^b / (a! b!)).
struct Jet3 {
    double c[10] = {};

    Jet3() = default;
    Jet3(double v) { c[0] = v; }  // NOLINT: constants mix freely
    static Jet3 variable(double v, int which) {
        Jet3 j(v);
        j.c[1 + which] = 1;
        return j;
    }
    double value() const { return c[0]; }

    Jet3& operator+=(const Jet3& o) {
        for (int k = 0; k < 10; ++k) c[k] += o.c[k];
        return *this;
    }
    Jet3& operator-=(const Jet3& o) {
        for (int k = 0; k < 10; ++k) c[k] -= o.c[k];
        return *this;
    }
    Jet3& operator*=(double s) {
        for (double& v : c) v *= s;
        return *this;
    }
    // this += s * o
    void addScaled(double s, const Jet3& o) {
        for (int k = 0; k < 10; ++k) c[k] += s * o.c[k];
    }
    friend Jet3 operator*(const Jet3& a, const Jet3& b) {
        const double* x = a.c;
        const double* y = b.c;
        Jet3 r;
        r.c[0] = x[0] * y[0];
        r.c[1] = x[0] * y[1] + x[1] * y[0];
        r.c[2] = x[0] * y[2] + x[2] * y[0];
        r.c[3] = x[0] * y[3] + x[1] * y[1] + x[3] * y[0];
        r.c[4] = x[0] * y[4] + x[1] * y[2] + x[2] * y[1] + x[4] * y[0];
        r.c[5] = x[0] * y[5] + x[2] * y[2] + x[5] * y[0];
        r.c[6] = x[0] * y[6] + x[1] * y[3] + x[3] * y[1] + x[6] * y[0];
        r.c[7] = x[0] * y[7] + x[1] * y[4] + x[2] * y[3] + x[3] * y[2] + x[4] * y[1] + x[7] * y[0];
        r.c[8] = x[0] * y[8] + x[1] * y[5] + x[2] * y[4] + x[4] * y[2] + x[5] * y[1] + x[8] * y[0];
        r.c[9] = x[0] * y[9] + x[2] * y[5] + x[5] * y[2] + x[9] * y[0];
        return r;
    }
    Jet3 apply(const Series& s) const {
        Jet3 h = *this;
        h.c[0] = 0;
        // h^2 and h^3 of a series without constant term.
        Jet3 h2;
        h2.c[3] = h.c[1] * h.c[1];
        h2.c[4] = 2 * h.c[1] * h.c[2];
        h2.c[5] = h.c[2] * h.c[2];
        h2.c[6] = 2 * h.c[1] * h.c[3];
        h2.c[7] = 2 * (h.c[1] * h.c[4] + h.c[2] * h.c[3]);
        h2.c[8] = 2 * (h.c[1] * h.c[5] + h.c[2] * h.c[4]);
        h2.c[9] = 2 * h.c[2] * h.c[5];
        Jet3 r;
        r.c[0] = s.f0;
        for (int k = 1; k < 10; ++k) r.c[k] = s.f1 * h.c[k] + s.f2 * h2.c[k];
        r.c[6] += s.f3 * h2.c[3] * h.c[1];
        r.c[7] += s.f3 * (h2.c[3] * h.c[2] + h2.c[4] * h.c[1]);
        r.c[8] += s.f3 * (h2.c[5] * h.c[1] + h2.c[4] * h.c[2]);
        r.c[9] += s.f3 * h2.c[5] * h.c[2];
        return r;
    }
};

// Value, gradient in M variables and the second derivatives of the first K of them
// with respect to all M (h[k][j] = d2 f / dv_k dv_j): the whole Hessian (K = M), a
// cheaper one when only its first K rows are needed, a plain gradient (K = 0).
template <int M, int K>
struct Partial {
    static constexpr int kRows = K > 0 ? K : 1;
    static constexpr bool kFullHessian = K == M;
    double v;
    double g[M];
    double h[kRows][M];

    Partial() {}  // uninitialised: every operation writes all members
    Partial(double value) : v(value), g(), h() {}  // NOLINT: constants mix freely
    static Partial variable(double value, int which) {
        Partial r(value);
        r.g[which] = 1;
        return r;
    }
    double value() const { return v; }
    double hess(int k, int j) const { return h[k][j]; }

    Partial& operator+=(const Partial& o) {
        addScaled(1.0, o);
        return *this;
    }
    Partial& operator-=(const Partial& o) {
        addScaled(-1.0, o);
        return *this;
    }
    Partial& operator*=(double s) {
        v *= s;
        for (int i = 0; i < M; ++i) g[i] *= s;
        for (int k = 0; k < K; ++k)
            for (int j = 0; j < M; ++j) h[k][j] *= s;
        return *this;
    }
    void addScaled(double s, const Partial& o) {
        v += s * o.v;
        for (int i = 0; i < M; ++i) g[i] += s * o.g[i];
        for (int k = 0; k < K; ++k)
            for (int j = 0; j < M; ++j) h[k][j] += s * o.h[k][j];
    }
    friend Partial operator*(const Partial& a, const Partial& b) {
        Partial r;
        r.v = a.v * b.v;
        for (int i = 0; i < M; ++i) r.g[i] = a.v * b.g[i] + b.v * a.g[i];
        for (int k = 0; k < K; ++k)
            for (int j = 0; j < M; ++j)
                r.h[k][j] = a.v * b.h[k][j] + b.v * a.h[k][j] + a.g[k] * b.g[j] + a.g[j] * b.g[k];
        return r;
    }
    Partial apply(const Series& s) const {
        Partial r;
        r.v = s.f0;
        const double d2 = 2 * s.f2;
        for (int i = 0; i < M; ++i) r.g[i] = s.f1 * g[i];
        for (int k = 0; k < K; ++k)
            for (int j = 0; j < M; ++j) r.h[k][j] = s.f1 * h[k][j] + d2 * g[k] * g[j];
        return r;
    }
};

// Operators shared by both types (and usable with double where the model calls them).
template <class N> struct IsJet { static constexpr bool value = false; };
template <> struct IsJet<Jet3> { static constexpr bool value = true; };
template <int M, int K> struct IsJet<Partial<M, K>> { static constexpr bool value = true; };
template <class N> using JetOnly = std::enable_if_t<IsJet<N>::value, N>;

template <class N> JetOnly<N> operator+(N a, const N& b) { return a += b; }
template <class N> JetOnly<N> operator-(N a, const N& b) { return a -= b; }
template <class N> JetOnly<N> operator+(N a, double b) { return a += N(b); }
template <class N> JetOnly<N> operator+(double a, N b) { return b += N(a); }
template <class N> JetOnly<N> operator-(N a, double b) { return a -= N(b); }
template <class N> JetOnly<N> operator-(double a, N b) { return (b *= -1.0) += N(a); }
template <class N> JetOnly<N> operator-(N a) { return a *= -1.0; }
template <class N> JetOnly<N> operator*(N a, double b) { return a *= b; }
template <class N> JetOnly<N> operator*(double a, N b) { return b *= a; }
template <class N> JetOnly<N> exp(const N& a) { return a.apply(expSeries(a.value())); }
template <class N> JetOnly<N> log(const N& a) { return a.apply(logSeries(a.value())); }
template <class N> JetOnly<N> pow(const N& a, double k) { return a.apply(powSeries(a.value(), k)); }
template <class N> JetOnly<N> sqrt(const N& a) { return pow(a, 0.5); }
template <class N> JetOnly<N> inverse(const N& a) { return a.apply(invSeries(a.value())); }
template <class N> JetOnly<N> operator/(const N& a, const N& b) { return a * inverse(b); }
template <class N> JetOnly<N> operator/(N a, double b) { return a *= 1 / b; }
template <class N> JetOnly<N> operator/(double a, const N& b) { return inverse(b) *= a; }
template <class N> JetOnly<N>& operator*=(N& a, const N& b) { return a = a * b; }
template <class N> JetOnly<N>& operator+=(N& a, double b) { return a += N(b); }

inline double inverse(double a) { return 1 / a; }
inline double value(double a) { return a; }
template <class N> std::enable_if_t<IsJet<N>::value, double> value(const N& a) { return a.value(); }
inline void addScaled(double& acc, double s, double x) { acc += s * x; }
template <class N> void addScaled(N& acc, double s, const N& x) { acc.addScaled(s, x); }

// x^k for an integer k >= 0 (also at x = 0).
template <class N>
N ipow(const N& x, int k) {
    N r(1.0), b = x;
    for (; k > 0; k >>= 1) {
        if (k & 1) r = r * b;
        if (k > 1) b = b * b;
    }
    return r;
}

}  // namespace tarnevo::engine::ad
