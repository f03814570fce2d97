// Text decoders on arbitrary bytes: DVB text, ATSC multiple strings and both Huffman tables.
#include <cstddef>
#include <cstdint>

#include "psi/text/AtscHuffman.h"
#include "psi/text/AtscHuffmanTables.h"
#include "psi/text/DvbText.h"
#include "psi/text/MultipleString.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DvbTextToString(data, size);
  MssParse(data, size);
  AtscHuffmanDecode(data, size, kAtscHuffmanTitleTable);
  AtscHuffmanDecode(data, size, kAtscHuffmanDescriptionTable);
  return 0;
}
