#include "screen/host.h"

Host gHost;

namespace {
std::string gMemoryClipboard;
bool gMemoryClipboardHolds = false;
}  // namespace

bool Host::PutMemoryClipboard(const std::string& text)
{
    gMemoryClipboard = text.substr(0, kClipboardTextLimit);
    return gMemoryClipboardHolds = true;
}

bool Host::GetMemoryClipboard(std::string& text)
{
    text = gMemoryClipboard;
    return gMemoryClipboardHolds;
}
