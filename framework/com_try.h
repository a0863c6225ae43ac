// Runs the body of an interface method so that no exception leaves it: the host gets a status
// code, never an unwound stack. Out of memory is E_OUTOFMEMORY, and so is a size no container can
// hold (a count the host gave, a text too long to convert); anything else is E_UNEXPECTED.
#pragma once

#include <new>
#include <stdexcept>

#include "framework/status.h"

template <class Body>
HRESULT ComTry(Body&& body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (const std::length_error&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}
