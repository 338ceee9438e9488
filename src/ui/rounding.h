#pragma once

// To the nearest whole number, a half to the even neighbour (2.5 -> 2,
// 3.5 -> 4, -0.5 -> 0), whatever rounding mode the FPU is in.
double roundHalfEven(double value);
