#include "link/failure.h"

#include <cstring>

Failure SystemFailure(int error) {
  return {error, std::strerror(error)};
}
