#include "Channel/KxChannelInternal.h"

ChannelPidRecord& CKxChannelInternal::Record(LONG pid, PidRecordKind kind) {
  ChannelPidRecord& record = m_pids[pid];
  record.pid = pid;
  record.kind = kind;
  return record;
}

void CKxChannelInternal::AddOtherPid(LONG pid, LONG streamType) {
  Record(pid, PidRecordKind::Other).streamType = streamType;
}

void CKxChannelInternal::AddVideoPid(LONG pid, LONG streamType) {
  Record(pid, PidRecordKind::Video).streamType = streamType;
}

void CKxChannelInternal::AddAudioPid(LONG pid, LONG streamType, std::u16string_view language, bool ac3) {
  ChannelPidRecord& record = Record(pid, PidRecordKind::Audio);
  record.streamType = streamType;
  record.language = language;
  record.ac3 = ac3;
}

void CKxChannelInternal::AddTeletextPid(LONG pid, LONG streamType, std::u16string_view language, LONG teletextType,
                                        LONG magazine, LONG page) {
  ChannelPidRecord& record = Record(pid, PidRecordKind::Teletext);
  record.streamType = streamType;
  record.language = language;
  record.teletextType = teletextType;
  record.magazineNumber = magazine;
  record.pageNumber = page;
}

void CKxChannelInternal::AddPmtPid(LONG pid) { Record(pid, PidRecordKind::Pmt); }
