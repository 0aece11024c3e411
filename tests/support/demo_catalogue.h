#pragma once
#include <string>

// Copies the demo catalogue and its pictures into folder, as the zip has them: the
// pictures beside the catalogue, whose resource folder does not exist here.
void copyDemoCatalogue(const std::string& folder);
