// The counter the progress box shows while it corrects several selected messages.
#pragma once

#include <string>

// "POPFile訂正(n/count)", as a 100-byte buffer holds it.
std::string ProgressCounterText(int n, int count);
