// Which video frames of a scanned recording a player can show. Most formats say nothing in
// their frames about that, and every frame stays a key frame in the rebuilt index. A
// Zip Motion Blocks Video stream ('ZMBV') says it in each packet's first byte (bit 0: a key
// frame), and its inter frames continue one zlib stream from the key frame before them: an
// inter frame whose key frame or any packet since is lost cannot be decoded at all.
#pragma once

#include <vector>

#include "capture/avi/avi_file.h"
#include "capture/avi/avi_scan.h"

namespace zelvio::avi {

// True for a video format whose packets carry their own key flag.
bool FramesTellKeys(const StreamFormat& stream);

// For the streams whose frames tell their key frames, sets the key flags of the last
// segment's chunks from the packets, and makes a stand-in (see ChunkEntry) of every inter
// frame that follows damage (a hole the walk stepped over) or the start of the data before
// the next key frame; one before the first key frame of the file shows that key frame, and
// so does an empty one there (it has no picture before it to repeat). Earlier
// segments keep the index the mux wrote, so only their packets' flags are read, to know
// whether the last segment starts where pictures can be decoded.
void MarkDecodableFrames(AviFile& file, AviScan& scan, const std::vector<StreamFormat>& streams);

}  // namespace zelvio::avi
