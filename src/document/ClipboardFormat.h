#pragma once

// The clipboard format of copied elements: the binary stream of TreeTable under
// one MIME type of our own (the Windows program registers "CLIP_PASSTREE"), and nothing
// else beside it, since the block is not text. The database window puts and reads it;
// the main window asks at exit whether to clear it.
namespace ClipboardFormat {

inline constexpr char MimeType[] = "application/x-vaultbase-passtree";

} // namespace ClipboardFormat
