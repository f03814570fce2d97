#include "psi/descriptors/NameDescriptor.h"

void CNameDescriptor::Parse(CPsiStream& reader) { name.Read(reader, length); }
