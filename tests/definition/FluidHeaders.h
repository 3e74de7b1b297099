// Fluid file headers written by the tests.
#pragma once

#include <string>

namespace tarnevo_test {

inline std::string MethaneHeader() {
    return "METHANE     \t   !short name\r\n"
           "74-82-8            !CAS number\r\n"
           "methane            !full name\r\n"
           "CH4                !chemical formula {CH4}\r\n"
           "R-50               !synonym\r\n"
           "16.0428            !molecular weight [g/mol]\r\n"
           "90.6941            !triple point temperature [K]\r\n"
           "111.667            !normal boiling point [K]\r\n"
           "190.564            !critical temperature [K]\r\n"
           "4599.2             !critical pressure [kPa]\r\n"
           "10.139342719       !critical density [mol/L]\r\n"
           "0.01142            !acentric factor\r\n"
           "0.0                !dipole moment [Debye]\r\n"
           "NBS                !default reference state\r\n";
}

inline std::string PropaneHeader() {
    return "propane            !short name\n"
           "74-98-6            !CAS number\n"
           "propane            !full name\n"
           "CH3CH2CH3          !chemical formula\n"
           "R-290              !synonym\n"
           "44.09562           !molecular weight [g/mol]\n"
           "85.525             !triple point temperature [K]\n"
           "231.036            !normal boiling point [K]\n"
           "369.89             !critical temperature [K]\n"
           "4251.2             !critical pressure [kPa]\n"
           "5.0                !critical density [mol/L]\n"
           "0.1521             !acentric factor\n"
           "0.084              !dipole moment [Debye]\n";
}

}  // namespace tarnevo_test
