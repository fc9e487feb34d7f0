#pragma once

#include <string>

// A system error code (errno) as the user reads it, in Portuguese, with the
// code for support: "permissão negada (código 13)". The common causes of a
// failing file operation have their own words; any other code says only that
// the system refused, so no text of the system's own language reaches the user.
std::string SystemErrorText(int code);
