#include "logging/ErrorMessages.h"

namespace {

struct Message {
  HRESULT hr;
  const char* text;
};

constexpr Message kMessages[] = {
    {E_NOTIMPL, "Not implemented"},
    {E_NOINTERFACE, "No such interface supported"},
    {E_POINTER, "Invalid pointer"},
    {E_ABORT, "Operation aborted"},
    {E_FAIL, "Unspecified error"},
    {E_UNEXPECTED, "Catastrophic failure"},
    {E_ACCESSDENIED, "Access is denied."},
    {E_HANDLE, "The handle is invalid."},
    {E_OUTOFMEMORY, "Not enough storage is available to complete this operation."},
    {E_INVALIDARG, "The parameter is incorrect."},
    {DISP_E_TYPEMISMATCH, "Type mismatch."},
    {CLASS_E_NOAGGREGATION, "Class does not support aggregation (or class object is remote)"},
};

}  // namespace

const char* SystemMessageOf(HRESULT hr) {
  for (const Message& message : kMessages)
    if (message.hr == hr) return message.text;
  return nullptr;
}
