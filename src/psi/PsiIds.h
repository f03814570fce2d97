#pragma once
// The well-known PIDs and table_ids of MPEG-2 PSI, DVB SI and ATSC PSIP, and
// the one rule of which table_ids each table is read from.
#include <cstdint>

namespace psi {

inline constexpr uint16_t kPatPid = 0x0000;
inline constexpr uint16_t kCatPid = 0x0001;
inline constexpr uint16_t kNitPid = 0x0010;
inline constexpr uint16_t kSdtPid = 0x0011;
inline constexpr uint16_t kEitPid = 0x0012;
inline constexpr uint16_t kPsipPid = 0x1FFB;  // ATSC base PID: MGT, VCT, STT

inline constexpr uint8_t kPatTableId = 0x00;
inline constexpr uint8_t kCatTableId = 0x01;
inline constexpr uint8_t kPmtTableId = 0x02;
inline constexpr uint8_t kNitActualTableId = 0x40;
inline constexpr uint8_t kSdtActualTableId = 0x42;
inline constexpr uint8_t kEitPresentFollowingActualTableId = 0x4E;
inline constexpr uint8_t kEitScheduleActualFirstTableId = 0x50;
inline constexpr uint8_t kEitScheduleActualLastTableId = 0x5F;
inline constexpr uint8_t kMgtTableId = 0xC7;
inline constexpr uint8_t kTerrestrialVctTableId = 0xC8;
inline constexpr uint8_t kCableVctTableId = 0xC9;
inline constexpr uint8_t kAtscEitTableId = 0xCB;
inline constexpr uint8_t kEttTableId = 0xCC;
inline constexpr uint8_t kSttTableId = 0xCD;

// The EIT tables of the actual transport stream: present/following and schedule.
constexpr bool IsActualEit(uint8_t tableId) {
  return tableId == kEitPresentFollowingActualTableId ||
         (tableId >= kEitScheduleActualFirstTableId && tableId <= kEitScheduleActualLastTableId);
}
constexpr bool IsVct(uint8_t tableId) { return tableId == kTerrestrialVctTableId || tableId == kCableVctTableId; }

// The tables a channel search reads, and where each comes from.
enum class ChannelTable { None, Pat, Cat, Pmt, Sdt, Nit, Vct };

// Channels come from the actual network's tables only (SDT and NIT "actual").
constexpr ChannelTable RouteChannelTable(uint8_t tableId, bool atsc) {
  switch (tableId) {
    case kPatTableId: return ChannelTable::Pat;
    case kPmtTableId: return ChannelTable::Pmt;
    case kCatTableId: return atsc ? ChannelTable::None : ChannelTable::Cat;
    case kSdtActualTableId: return atsc ? ChannelTable::None : ChannelTable::Sdt;
    case kNitActualTableId: return atsc ? ChannelTable::None : ChannelTable::Nit;
    default: return atsc && IsVct(tableId) ? ChannelTable::Vct : ChannelTable::None;
  }
}

}  // namespace psi
