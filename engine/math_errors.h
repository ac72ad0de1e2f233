// How Boost.Math's special functions report a failure in Trolvane: each kind
// by the standard exception its own default throws, naming the function.
#pragma once

// Boost.Math's default writes the value that failed into its message through
// a string stream, which alone brings 90 KB of the streams' formatting into
// the Windows exe; every target is built with these policies set to
// user_error (see the top CMakeLists.txt), and the handlers below throw
// without it. Included by every file that calls Boost.Math.
#include <stdexcept>
#include <string>

#include <boost/math/policies/error_handling.hpp>

namespace boost::math::policies {

template <class T>
T user_domain_error(const char* function, const char*, const T&) {
    throw std::domain_error(std::string("Domain error in ") + function);
}

template <class T>
T user_pole_error(const char* function, const char*, const T&) {
    throw std::domain_error(std::string("Pole error in ") + function);
}

template <class T>
T user_overflow_error(const char* function, const char*, const T&) {
    throw std::overflow_error(std::string("Overflow in ") + function);
}

template <class T>
T user_evaluation_error(const char* function, const char*, const T&) {
    throw boost::math::evaluation_error(std::string("Evaluation error in ") + function);
}

template <class T, class TargetType>
T user_rounding_error(const char* function, const char*, const T&, const TargetType&) {
    throw boost::math::rounding_error(std::string("Rounding error in ") + function);
}

}  // namespace boost::math::policies
