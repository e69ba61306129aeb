// The export macro of the two shared libraries.
//
// Both libraries are compiled with hidden visibility: a symbol is part of their binary interface
// only when its declaration in a public header carries LUMEX_API. So an application that links
// its own Eigen or Boost never binds to the copies compiled into the libraries, and the
// internal routines stay free to change between releases.
#pragma once

#define LUMEX_API __attribute__((visibility("default")))
