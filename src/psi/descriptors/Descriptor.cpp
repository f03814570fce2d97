#include "psi/descriptors/Descriptor.h"

void CDescriptor::Parse(CPsiStream& reader) { reader.Skip(length); }
