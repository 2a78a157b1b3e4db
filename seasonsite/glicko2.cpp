#include "glicko2.h"

#include <cmath>

namespace site {

namespace {

// Ratings on the Glicko-2 scale are (r - 1500) / 173.7178.
constexpr double kScale = 173.7178;
constexpr double kPi = 3.14159265358979323846;
// Convergence of the volatility's iteration (the paper's epsilon).
constexpr double kEpsilon = 0.000001;

double g(double phi) { return 1.0 / std::sqrt(1.0 + 3.0 * phi * phi / (kPi * kPi)); }

double expected(double mu, double mu_j, double phi_j) { return 1.0 / (1.0 + std::exp(-g(phi_j) * (mu - mu_j))); }

// Step 5: the new volatility, by the Illinois algorithm on f(x) = 0.
double newVolatility(double sigma, double phi, double v, double delta, double tau) {
  const double a = std::log(sigma * sigma);
  auto f = [&](double x) {
    const double ex = std::exp(x);
    const double d = phi * phi + v + ex;
    return ex * (delta * delta - phi * phi - v - ex) / (2.0 * d * d) - (x - a) / (tau * tau);
  };
  double big_a = a;
  double big_b;
  if (delta * delta > phi * phi + v) {
    big_b = std::log(delta * delta - phi * phi - v);
  } else {
    double k = 1;
    while (f(a - k * tau) < 0 && k < 1000) k += 1;
    big_b = a - k * tau;
  }
  double f_a = f(big_a);
  double f_b = f(big_b);
  // Bounded as well, so that no input can keep it turning.
  for (int i = 0; i < 1000 && std::fabs(big_b - big_a) > kEpsilon && f_b != f_a; ++i) {
    const double c = big_a + (big_a - big_b) * f_a / (f_b - f_a);
    const double f_c = f(c);
    if (f_c * f_b <= 0) {
      big_a = big_b;
      f_a = f_b;
    } else {
      f_a /= 2;
    }
    big_b = c;
    f_b = f_c;
  }
  return std::exp(big_a / 2);
}

}  // namespace

Glicko2Rating glicko2Update(const Glicko2Rating& player, const std::vector<Glicko2Result>& results,
                            const Glicko2Settings& settings) {
  const double mu = (player.rating - 1500) / kScale;
  const double phi = player.deviation / kScale;
  auto unseen = [&]() {
    Glicko2Rating r = player;
    r.deviation = kScale * std::sqrt(phi * phi + player.volatility * player.volatility);
    return r;
  };
  if (results.empty()) return unseen();
  double v_inverse = 0;
  double improvement = 0;  // the sum in delta, before it is scaled by v
  for (const Glicko2Result& r : results) {
    const double mu_j = (r.opponent.rating - 1500) / kScale;
    const double phi_j = r.opponent.deviation / kScale;
    const double e = expected(mu, mu_j, phi_j);
    v_inverse += g(phi_j) * g(phi_j) * e * (1 - e);
    improvement += g(phi_j) * (r.score - e);
  }
  // Opponents so far off that no result tells anything.
  if (!(v_inverse > 0) || !std::isfinite(v_inverse)) return unseen();
  const double v = 1.0 / v_inverse;
  const double sigma = newVolatility(player.volatility, phi, v, v * improvement, settings.tau);
  const double phi_star = std::sqrt(phi * phi + sigma * sigma);
  const double phi_new = 1.0 / std::sqrt(1.0 / (phi_star * phi_star) + 1.0 / v);
  const double mu_new = mu + phi_new * phi_new * improvement;
  return Glicko2Rating{kScale * mu_new + 1500, kScale * phi_new, sigma};
}

}  // namespace site
