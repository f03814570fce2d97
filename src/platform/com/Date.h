#pragma once
// The platform's DATE: days since 1899-12-30 as a double, the fraction the
// time of day, in local time when it comes from a broadcast UTC time.
#include <ctime>

#include "platform/com/Types.h"

// Converts seconds since the epoch (UTC) to a local-time DATE.
DATE UtcSecondsToLocalDate(time_t utcSeconds);
// Converts broken-down calendar fields to a DATE (no time zone involved).
DATE CalendarToDate(int year, int month, int day, int hour, int minute, int second);
