// The programs' runners, for the command line's tests.
#pragma once
#include "tests/support/programs.h"
