#pragma once
// The descriptors of one descriptor loop, in loop order. Taking a section
// reads only each descriptor's tag and length and keeps the loop's bytes; a
// body is decoded the first time a reader asks for it, and kept. Copies of a
// loop (one table appending the loop of another) share the decoded bodies.
// Like the tables holding them, loops are read by one thread at a time.
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <vector>

#include "psi/descriptors/Descriptor.h"
#include "psi/descriptors/DescriptorContext.h"

class CDescriptorEntry {
 public:
  CDescriptorEntry(uint8_t descriptorTag, uint8_t descriptorLength, const uint8_t* body, DescriptorContext context)
      : tag(descriptorTag), length(descriptorLength), m_pBody(body), m_context(context) {}

  uint8_t tag;
  uint8_t length;  // descriptor_length, the body size

  // The descriptor's class for its tag in its context (the base class when
  // the factory does not decode the tag); empty when the body is shorter
  // than that class reads.
  const std::shared_ptr<const CDescriptor>& Decoded() const;
  template <typename T>
  const T* As() const {
    return dynamic_cast<const T*>(Decoded().get());
  }

 private:
  const uint8_t* m_pBody;  // inside the bytes of the loop that holds the entry
  DescriptorContext m_context;
  mutable bool m_bDecoded = false;
  mutable std::shared_ptr<const CDescriptor> m_pDecoded;
};

class CDescriptors {
  struct Loop {
    std::vector<uint8_t> bytes;  // the loop as broadcast
    std::vector<CDescriptorEntry> entries;
  };
  using Loops = std::vector<std::shared_ptr<const Loop>>;

 public:
  using Pointer = std::shared_ptr<const CDescriptor>;

  class Iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = CDescriptorEntry;
    using difference_type = std::ptrdiff_t;
    using pointer = const CDescriptorEntry*;
    using reference = const CDescriptorEntry&;

    Iterator() = default;
    Iterator(const Loops* loops, size_t loop) : m_pLoops(loops), m_nLoop(loop) {}
    const CDescriptorEntry& operator*() const { return (*m_pLoops)[m_nLoop]->entries[m_nEntry]; }
    const CDescriptorEntry* operator->() const { return &**this; }
    Iterator& operator++() {
      if (++m_nEntry == (*m_pLoops)[m_nLoop]->entries.size()) {
        ++m_nLoop;
        m_nEntry = 0;
      }
      return *this;
    }
    Iterator operator++(int) {
      Iterator before = *this;
      ++*this;
      return before;
    }
    bool operator==(const Iterator& other) const { return m_nLoop == other.m_nLoop && m_nEntry == other.m_nEntry; }

   private:
    const Loops* m_pLoops = nullptr;
    size_t m_nLoop = 0;
    size_t m_nEntry = 0;
  };

  // Reads a descriptor loop of loopLength bytes; it also ends when the data
  // does. Throws CPsiStreamException when a descriptor is cut short.
  void ParseLoop(CPsiStream& reader, uint32_t loopLength, DescriptorContext context);

  void Append(const CDescriptors& other);
  void Clear();

  size_t Count() const { return m_nCount; }
  // The decoded descriptor; empty when index is not below Count() or its body is malformed.
  Pointer Get(size_t index) const;

  Iterator begin() const { return Iterator(&m_vLoops, 0); }
  Iterator end() const { return Iterator(&m_vLoops, m_vLoops.size()); }

 private:
  Loops m_vLoops;  // none empty
  size_t m_nCount = 0;
};
