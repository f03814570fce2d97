#pragma once
// Parses an embedded frequency list for the tests.
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include "Tuner/FrequencyListResource.h"

inline pugi::xml_document ParseFrequencyList(int id) {
  const std::string_view text = FindFrequencyListResource(id);
  pugi::xml_document doc;
  const pugi::xml_parse_result result =
      doc.load_buffer(text.data(), text.size(), pugi::parse_default | pugi::parse_comments, pugi::encoding_utf8);
  EXPECT_TRUE(result) << "list " << id << ": " << result.description() << " at " << result.offset;
  return doc;
}
