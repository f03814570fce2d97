#pragma once
// How dtv ends its standard output: a reader that goes away early (`dtv info
// | head -1`) is a normal end, as for any filter program; any other failed
// write is an error that must not pass as success.

// Ignores SIGPIPE so that a closed pipe shows as a write error (EPIPE) that
// the end of the program judges, instead of killing it half-way.
void IgnoreBrokenPipes();

// True when the error is a reader that has closed the pipe or socket.
bool IsClosedByReader(int error);

// Flushes standard output; returns `status`, or 1 with a message on standard
// error when the output could not be written (quietly `status` when the
// reader has gone).
int FinishStandardOutput(int status);
