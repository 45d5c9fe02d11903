// Copies a media sample's data and properties into another sample (filters that cannot pass
// a sample on as it is).
#pragma once
#include <strmif.h>

namespace zelvio::kit {

HRESULT CopySample(IMediaSample* from, IMediaSample* to);
// Times, media times and the sync, discontinuity and preroll flags; not the data.
void CopySampleProperties(IMediaSample* from, IMediaSample* to);

}  // namespace zelvio::kit
