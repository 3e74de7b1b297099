// A residual model written once as ar(T, rho, x), generic in its number type;
// every derivative evaluate() hands out comes from it by forward-mode
// differentiation. A model derives from HelmholtzModel<Model> and supplies
//   template <class N> N alphar(const N& T, const N& rho, const N* x) const;
// treating the mole fractions as independent variables.
#pragma once

#include "core/Autodiff.h"
#include "core/Mixture.h"

#include <stdexcept>

namespace tarnevo::engine {

constexpr int kMaxModelComponents = 20;

template <class Model>
class HelmholtzModel : public ResidualModel {
public:
    void evaluate(double T, double rho, const double* x, int order,
                  ResidualDerivatives& out) const override {
        const int nc = components();
        if (nc > kMaxModelComponents) throw std::length_error("too many components");
        if (order >= 1) {
            if (nc == 1) byOrder<3>(T, rho, x, order, out);
            else if (nc == 2) byOrder<4>(T, rho, x, order, out);
            else if (nc == 3) byOrder<5>(T, rho, x, order, out);
            else if (nc <= 5) byOrder<7>(T, rho, x, order, out);
            else if (nc <= 10) byOrder<12>(T, rho, x, order, out);
            else byOrder<kMaxModelComponents + 2>(T, rho, x, order, out);
            return;
        }
        ad::Jet3 xs[kMaxModelComponents];
        for (int i = 0; i < nc; ++i) xs[i] = x[i];
        const ad::Jet3 a = self().alphar(ad::Jet3::variable(T, 0), ad::Jet3::variable(rho, 1), xs);
        const double* c = a.c;
        out.ar = c[0];
        out.ar_T = c[1];
        out.ar_rho = c[2];
        out.ar_TT = 2 * c[3];
        out.ar_Trho = c[4];
        out.ar_rhorho = 2 * c[5];
        out.ar_TTrho = 2 * c[7];
        out.ar_Trhorho = 2 * c[8];
        out.ar_rhorhorho = 6 * c[9];
    }

    void densityDerivatives(double T, double rho, const double* x, double& ar_rho,
                            double& ar_rhorho) const override {
        using N = ad::Partial<1, 1>;
        N xs[kMaxModelComponents];
        for (int i = 0; i < components(); ++i) xs[i] = x[i];
        const N a = self().alphar(N(T), N::variable(rho, 0), xs);
        ar_rho = a.g[0];
        ar_rhorho = a.h[0][0];
    }

private:
    const Model& self() const { return static_cast<const Model&>(*this); }

    // The cheapest jet that carries what the order needs: the gradient (1), two rows of
    // the Hessian (2) or all of it (3), in (T, rho, x_1 ... x_nc).
    template <int M>
    void byOrder(double T, double rho, const double* x, int order, ResidualDerivatives& out) const {
        if (order == 1) compositions<ad::Partial<M, 0>>(T, rho, x, order, out);
        else if (order == 2) compositions<ad::Partial<M, 2>>(T, rho, x, order, out);
        else compositions<ad::Partial<M, M>>(T, rho, x, order, out);
    }

    // Derivatives of n ar with respect to the mole numbers at constant T and V from
    // the gradient and Hessian of ar in (T, rho, x_1 ... x_nc).
    template <class H>
    void compositions(double T, double rho, const double* x, int order,
                      ResidualDerivatives& out) const {
        const int nc = components();
        H xs[kMaxModelComponents];
        for (int i = 0; i < nc; ++i) xs[i] = H::variable(x[i], 2 + i);
        const H a = self().alphar(H::variable(T, 0), H::variable(rho, 1), xs);
        out.ar = a.v;
        out.ar_T = a.g[0];
        out.ar_rho = a.g[1];
        double S = 0;
        for (int k = 0; k < nc; ++k) S += x[k] * a.g[2 + k];
        out.n_ar_n.resize(nc);
        for (int i = 0; i < nc; ++i) out.n_ar_n[i] = a.v + rho * a.g[1] + a.g[2 + i] - S;
        if (order < 2) return;
        double ST = 0, Srho = 0;
        for (int k = 0; k < nc; ++k) {
            ST += x[k] * a.hess(0, 2 + k);
            Srho += x[k] * a.hess(1, 2 + k);
        }
        out.n_ar_nT.resize(nc);
        out.n_ar_nrho.resize(nc);
        const double Arho = a.g[1], Arr = a.hess(1, 1);
        out.ar_TT = a.hess(0, 0);
        out.ar_Trho = a.hess(0, 1);
        out.ar_rhorho = Arr;
        for (int i = 0; i < nc; ++i) {
            out.n_ar_nT[i] = a.g[0] + rho * a.hess(0, 1) + a.hess(0, 2 + i) - ST;
            out.n_ar_nrho[i] = 2 * Arho + rho * Arr + a.hess(1, 2 + i) - Srho;
        }
        if constexpr (H::kFullHessian) {
            if (order >= 3) compositionHessian(rho, x, a, Srho, out);
        }
    }

    template <class H>
    void compositionHessian(double rho, const double* x, const H& a, double Srho,
                            ResidualDerivatives& out) const {
        const int nc = components();
        double Q[kMaxModelComponents], W = 0;
        for (int j = 0; j < nc; ++j) {
            Q[j] = 0;
            for (int k = 0; k < nc; ++k) Q[j] += x[k] * a.hess(2 + k, 2 + j);
            W += x[j] * Q[j];
        }
        out.n_ar_nn.resize(nc * nc);
        for (int i = 0; i < nc; ++i)
            for (int j = 0; j < nc; ++j)
                out.n_ar_nn[i * nc + j] = rho * (out.n_ar_nrho[i] + a.hess(1, 2 + j) - Srho) +
                                          a.hess(2 + i, 2 + j) - Q[i] - Q[j] + W;
    }
};

}  // namespace tarnevo::engine
