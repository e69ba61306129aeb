// Internal: the one error policy under which every Boost.Math call of the library runs.
//
// - Domain, pole, overflow, evaluation and rounding errors are ignored: Boost then returns NaN
//   for a parameter outside its domain and +-Inf on overflow, never throws and never sets errno.
// - promote_double<false>: Boost 1.74 otherwise evaluates double functions in long double,
//   which is several times slower; the committed R references show the accuracy holds.
// - discrete_quantile<integer_round_up>: a discrete quantile is the least x with
//   P(X <= x) >= p, as R defines it.
#pragma once

#include <boost/math/policies/policy.hpp>

namespace lumex::detail {

using TMathPolicy = boost::math::policies::policy<
    boost::math::policies::domain_error<boost::math::policies::ignore_error>,
    boost::math::policies::pole_error<boost::math::policies::ignore_error>,
    boost::math::policies::overflow_error<boost::math::policies::ignore_error>,
    boost::math::policies::underflow_error<boost::math::policies::ignore_error>,
    boost::math::policies::denorm_error<boost::math::policies::ignore_error>,
    boost::math::policies::evaluation_error<boost::math::policies::ignore_error>,
    boost::math::policies::rounding_error<boost::math::policies::ignore_error>,
    boost::math::policies::indeterminate_result_error<boost::math::policies::ignore_error>,
    boost::math::policies::promote_double<false>,
    boost::math::policies::discrete_quantile<boost::math::policies::integer_round_up>>;

// The same choices with evaluation in long double, for the families whose far tails lose
// digits without it.
using TMathPolicyPromoted = boost::math::policies::policy<
    boost::math::policies::domain_error<boost::math::policies::ignore_error>,
    boost::math::policies::pole_error<boost::math::policies::ignore_error>,
    boost::math::policies::overflow_error<boost::math::policies::ignore_error>,
    boost::math::policies::underflow_error<boost::math::policies::ignore_error>,
    boost::math::policies::denorm_error<boost::math::policies::ignore_error>,
    boost::math::policies::evaluation_error<boost::math::policies::ignore_error>,
    boost::math::policies::rounding_error<boost::math::policies::ignore_error>,
    boost::math::policies::indeterminate_result_error<boost::math::policies::ignore_error>,
    boost::math::policies::promote_double<true>,
    boost::math::policies::discrete_quantile<boost::math::policies::integer_round_up>>;

}  // namespace lumex::detail
