// Rachford-Rice: the vapour fraction that balances given K-values.
#pragma once

#include <vector>

namespace tarnevo::engine::equilibrium {

// Solves sum z_i (K_i - 1) / (1 + beta (K_i - 1)) = 0 for beta within the window
// where every phase amount stays positive (negative flash allowed). Returns
// beta <= 0 when every K is at most 1 side ("all liquid"), >= 1 likewise for vapour.
double solveRachfordRice(const std::vector<double>& z, const std::vector<double>& K,
                         const std::vector<int>& present);

// x_i = z_i / (1 + beta (K_i - 1)), y_i = K_i x_i, both normalised.
void splitCompositions(const std::vector<double>& z, const std::vector<double>& K, double beta,
                       std::vector<double>& x, std::vector<double>& y);

}  // namespace tarnevo::engine::equilibrium
