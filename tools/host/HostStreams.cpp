#include "tools/host/HostStreams.h"

#include <new>

namespace tarnevo::host {

Microsoft::WRL::ComPtr<IStream> MemoryStream(const std::vector<unsigned char>& bytes) {
    Microsoft::WRL::ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream))) throw std::bad_alloc();
    if (!bytes.empty()) {
        ULONG written = 0;
        if (FAILED(stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written)) || written != bytes.size())
            throw std::bad_alloc();
    }
    LARGE_INTEGER start = {};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    return stream;
}

std::vector<unsigned char> StreamBytes(IStream* stream) {
    std::vector<unsigned char> bytes;
    LARGE_INTEGER start = {};
    if (!stream || FAILED(stream->Seek(start, STREAM_SEEK_SET, nullptr))) return bytes;
    unsigned char buffer[4096];
    for (;;) {
        ULONG read = 0;
        HRESULT hr = stream->Read(buffer, sizeof buffer, &read);
        bytes.insert(bytes.end(), buffer, buffer + read);
        if (FAILED(hr) || read == 0) break;
    }
    return bytes;
}

}  // namespace tarnevo::host
