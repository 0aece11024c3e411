#pragma once

// Puts a test double of a system library, built at unixPath, into the system folder of the
// test prefix as name, where the program loads such libraries from. A run picks it over
// Wine's own library with WINEDLLOVERRIDES=<name>=n. True when it is in place.
bool installSystemDouble(const char* unixPath, const char* name);
