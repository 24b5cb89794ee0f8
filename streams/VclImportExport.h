// The whole base as one stream, and the connected user's settings as a second one. A received base
// stream holds the base's file name (256 bytes, put in front by the server), then sized blocks: the
// base parameter block, then one block per record file in base order, each a marker record of S
// bytes of 0xFF followed by the file's stored records of S bytes (the record at position b has the
// identifier b x S; an all-0xFF record is an empty slot). The user-information stream is one sized
// block holding the per-user parameter stream, empty when the user has none. Main thread only.
#pragma once

#include <cstdint>
#include <functional>

class TMemoryStream;
class TStream;

namespace VclImportExport {

// Called before each table block is read with (0, 41, index); may be empty.
std::function<void(int32_t Minimum, int32_t Maximum, int32_t Position)>& SurProgression();
// The records of the last import that their converter or their table refused.
int32_t& EnregistrementsRefuses();

// Rebuilds the base from a received stream positioned at its start: every table is created afresh.
// A block larger than what the stream holds, or a corrupt parameter block, raises EReadError and
// leaves the tables read so far.
void ImporterBase(TStream& Flux);
// Appends the base (without the 256-byte name): every record of every file is given the identifier
// of its place in the stream, in record-number order, before any is written.
void ExporterBase(TMemoryStream& Flux);
// Reads one sized block: a non-empty one goes to the per-user reader, an empty one installs the
// per-user defaults.
void ImporterParametresUtilisateur(TStream& Flux);
void ExporterParametresUtilisateur(TMemoryStream& Flux);

}  // namespace VclImportExport
