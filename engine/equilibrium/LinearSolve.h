// Dense linear systems of the Newton steps (a few unknowns).
#pragma once

#include <cmath>
#include <utility>
#include <vector>

namespace tarnevo::engine::equilibrium {

// Solves A x = b in place (A row-major n x n, b becomes x) by Gaussian elimination
// with partial pivoting. False when A is singular.
inline bool solveLinear(std::vector<double>& A, std::vector<double>& b, int n) {
    for (int k = 0; k < n; ++k) {
        int piv = k;
        double best = std::fabs(A[k * n + k]);
        for (int i = k + 1; i < n; ++i) {
            double v = std::fabs(A[i * n + k]);
            if (v > best) { best = v; piv = i; }
        }
        if (!(best > 1e-300)) return false;
        if (piv != k) {
            for (int j = 0; j < n; ++j) std::swap(A[k * n + j], A[piv * n + j]);
            std::swap(b[k], b[piv]);
        }
        for (int i = k + 1; i < n; ++i) {
            double f = A[i * n + k] / A[k * n + k];
            if (f == 0) continue;
            for (int j = k; j < n; ++j) A[i * n + j] -= f * A[k * n + j];
            b[i] -= f * b[k];
        }
    }
    for (int k = n - 1; k >= 0; --k) {
        double sum = b[k];
        for (int j = k + 1; j < n; ++j) sum -= A[k * n + j] * b[j];
        b[k] = sum / A[k * n + k];
        if (!std::isfinite(b[k])) return false;
    }
    return true;
}

}  // namespace tarnevo::engine::equilibrium
