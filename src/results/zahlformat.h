#pragma once
// Number format of result and control files.
//
// A real value x is written
//  - in the 23-character scientific form (a blank or "-", one digit, ".",
//    14 digits, "E", the exponent's sign and four exponent digits) when x is
//    below 1E-8 and not zero, which includes every negative value;
//  - otherwise in fixed-point form with `nachkommastellen` decimals,
//    right-aligned in the field width (wider numbers are written whole).
// The field width is n when n > 20, else 20, where n is the number of
// divisions by 10 needed until x is no longer greater than 1.
// The decimal separator is always ".", whatever the locale.

#include <string>

// Field width of x by the rule above.
int feldbreite(double x);

// Appends x in the file format to `ziel`. Non-finite values are written as
// "NAN", "INF" or "-INF", right-aligned in 20.
void schreibe_zahl(std::string& ziel, double x, int nachkommastellen = 10);

// Convenience form of schreibe_zahl.
std::string formatiere_zahl(double x, int nachkommastellen = 10);
