#pragma once
// A failure that ends a packing run, worded for the person who started it (UTF-8).
#include <stdexcept>

class PackError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
