// In-memory streams for IPersistStream tests: a stream over given bytes, and the bytes of a stream.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <wrl/client.h>

#include <vector>

namespace tarnevo::host {

// A new stream holding `bytes`, positioned at its start. Throws std::bad_alloc on failure.
Microsoft::WRL::ComPtr<IStream> MemoryStream(const std::vector<unsigned char>& bytes = {});

// Every byte of `stream` from its start; the seek position is left at the end.
std::vector<unsigned char> StreamBytes(IStream* stream);

}  // namespace tarnevo::host
