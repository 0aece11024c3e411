#pragma once
#include "tests/support/mutator.h"

#include <string>

// The randomized catalogues that the settings' fuzz test reads and the checker's agreement
// test checks: valid sections in random order and choice, some values set to the readers'
// edges, then damaged. A fixed seed of their own makes both tests see the same catalogues.
class CatalogueSamples {
  public:
    static constexpr int kCount = 300;
    Mutator::Bytes next();

  private:
    Mutator mutator_{0xCA7A106};
};
