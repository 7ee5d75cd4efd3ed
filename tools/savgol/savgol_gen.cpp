// Computes the Savitzky-Golay convolution weights that the spectrum toolkit's
// smoothing and derivative operations read, and writes them as the two
// coefficient files savgolsmooth.par and savgolderivat.par.
//
// For a window of 2*ns+1 equidistant points k = -ns..ns and a polynomial of
// degree m fitted to them by least squares, the fitted value at the centre and
// its first derivative (per point) are linear in the data:
//     value(0) = sum_k h0(k) y(k),   value'(0) = sum_k h1(k) y(k).
// With the design matrix A(k, p) = x_k^p (x_k = k/ns, scaled to [-1, 1] to keep
// the normal equations well conditioned) and G = A^T A, the weights are
//     h0(k) = (G^-1 e_0) . a(k),   h1(k) = (G^-1 e_1) . a(k) / ns.
//
// File layout (read item by item with list input):
//   a quoted key item: m, one blank, ns when ns < 10, m and ns run together
//   when ns >= 10 ("2 5", "212");
//   then one line with the 2*ns+1 weights in the order
//   h(0), h(-1), ..., h(-ns), h(ns), h(ns-1), ..., h(1)
//   (the point itself, the points below it from the nearest, then the points
//   above it from the farthest down to the nearest).
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

using Real = long double;

// Solves G z = rhs for the symmetric positive definite G by Gaussian
// elimination with partial pivoting.
std::vector<Real> solve(std::vector<std::vector<Real>> g, std::vector<Real> rhs) {
    const std::size_t n = rhs.size();
    for (std::size_t col = 0; col < n; ++col) {
        std::size_t piv = col;
        for (std::size_t r = col + 1; r < n; ++r)
            if (std::fabs(g[r][col]) > std::fabs(g[piv][col])) piv = r;
        std::swap(g[col], g[piv]);
        std::swap(rhs[col], rhs[piv]);
        for (std::size_t r = col + 1; r < n; ++r) {
            const Real f = g[r][col] / g[col][col];
            for (std::size_t c = col; c < n; ++c) g[r][c] -= f * g[col][c];
            rhs[r] -= f * rhs[col];
        }
    }
    std::vector<Real> z(n);
    for (std::size_t i = n; i-- > 0;) {
        Real s = rhs[i];
        for (std::size_t c = i + 1; c < n; ++c) s -= g[i][c] * z[c];
        z[i] = s / g[i][i];
    }
    return z;
}

// Weights h(k), k = -ns..ns (index k + ns), of the derivative of order
// `order` (0 = value, 1 = first derivative per point) at the window centre.
std::vector<Real> weights(int m, int ns, int order) {
    const int np = m + 1;
    std::vector<std::vector<Real>> g(np, std::vector<Real>(np, 0));
    for (int k = -ns; k <= ns; ++k) {
        const Real x = static_cast<Real>(k) / ns;
        for (int p = 0; p < np; ++p)
            for (int q = 0; q < np; ++q) g[p][q] += std::pow(x, p + q);
    }
    std::vector<Real> e(np, 0);
    e[order] = 1;
    const std::vector<Real> z = solve(g, e);
    std::vector<Real> h(2 * ns + 1);
    for (int k = -ns; k <= ns; ++k) {
        const Real x = static_cast<Real>(k) / ns;
        Real s = 0;
        for (int p = 0; p < np; ++p) s += z[p] * std::pow(x, p);
        h[k + ns] = order == 1 ? s / ns : s;
    }
    return h;
}

// A number as a plain decimal (no exponent), at most 12 decimals, trailing
// zeros dropped, "0" for anything that rounds to zero.
std::string number(Real v) {
    char buf[64];
    int len = std::snprintf(buf, sizeof buf, "%.12Lf", v);
    while (len > 0 && buf[len - 1] == '0') --len;
    if (len > 0 && buf[len - 1] == '.') --len;
    const bool zero = len == 0 || (len == 2 && buf[0] == '-' && buf[1] == '0') || (len == 1 && buf[0] == '0');
    return zero ? std::string(1, '0') : std::string(buf, static_cast<std::size_t>(len));
}

std::string key(int m, int ns) {
    std::string k = std::to_string(m);
    if (ns < 10) k += ' ';
    k += std::to_string(ns);
    return k;
}

bool writeFile(const std::string& path, int order, const char* title) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << '"' << title << '"' << "\r\n";
    for (int m = 2; m <= 6; ++m) {
        for (int ns = 2; ns <= 24; ++ns) {
            if (m > 2 * ns) continue; // more coefficients than points
            const std::vector<Real> h = weights(m, ns, order);
            out << '"' << key(m, ns) << '"' << "\r\n";
            std::string line = number(h[ns]);                                 // the point itself
            for (int k = 1; k <= ns; ++k) { // below, nearest first
                line += ',';
                line += number(h[ns - k]);
            }
            for (int k = ns; k >= 1; --k) { // above, farthest first
                line += ',';
                line += number(h[ns + k]);
            }
            out << line << "\r\n";
        }
    }
    out.close();
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: savgol_gen <output folder>\n";
        return 2;
    }
    const std::string dir = argv[1];
    const bool ok = writeFile(dir + "/savgolsmooth.par", 0, "Savitzky-Golay smoothing weights by degree and half-width") &&
                    writeFile(dir + "/savgolderivat.par", 1, "Savitzky-Golay first-derivative weights per point by degree and half-width");
    if (!ok) {
        std::cerr << "savgol_gen: cannot write the coefficient files in " << dir << "\n";
        return 1;
    }
    return 0;
}
