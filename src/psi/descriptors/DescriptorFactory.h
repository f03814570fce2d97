#pragma once
// Creates and parses the descriptor class that a tag means in a descriptor context.
#include <cstdint>
#include <memory>

#include "psi/descriptors/Descriptor.h"
#include "psi/descriptors/DescriptorContext.h"

// Reads one descriptor at the reader's position. Returns an empty pointer
// without reading when no bytes are left (consumed is then not written), or
// for an unknown context (the descriptor's bytes are then consumed). Throws
// CPsiStreamException when the descriptor is cut short.
std::shared_ptr<CDescriptor> CreateDescriptor(CPsiStream& reader, uint32_t& consumed, DescriptorContext context);

// Decodes the length bytes of a descriptor body. Empty for an unknown
// context; throws CPsiStreamException when the body is shorter than its class reads.
std::shared_ptr<CDescriptor> DecodeDescriptor(uint8_t tag, uint8_t length, const uint8_t* body,
                                              DescriptorContext context);
// Whether DecodeDescriptor knows the context.
bool IsDecodableContext(DescriptorContext context);
