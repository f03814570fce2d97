#pragma once
// Thrown by CPsiStream when a read would pass the end of the section;
// section and descriptor parsers catch it and fail the whole section.
#include <exception>

class CPsiStreamException : public std::exception {
 public:
  const char* what() const noexcept override { return "read past the end of PSI data"; }
};
