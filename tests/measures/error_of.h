// The measures::Error message of a call that must fail.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "measures/error.h"

template <typename F>
std::string errorOf(F&& f) {
  try {
    f();
  } catch (const measures::Error& error) {
    return error.what();
  }
  ADD_FAILURE() << "no error";
  return "";
}
