#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

class QWidget;

namespace platform {
class MessageService;
}

namespace speech {

// Where the text blocks of a request come from. allocate() answers 0 with a zero-filled block,
// -4 when the memory cannot be had, or -5 when it cannot be held for the request (the heap
// never fails that way; an allocator of a test may).
class BlockAllocator {
  public:
    virtual ~BlockAllocator() = default;
    virtual int32_t allocate(std::size_t size, char*& block) = 0;
    virtual void release(char* block) noexcept = 0;

    // The process heap.
    static BlockAllocator& heap();
};

// The four text blocks of one speak request: the source text as read, the translated text the
// engine speaks, and the two echo blocks. They are released when the request ends, and at the
// latest when this object goes.
class TextBlocks {
  public:
    static constexpr std::size_t kEchoBlockSize = 3000;

    explicit TextBlocks(BlockAllocator& allocator) : m_allocator(allocator) {}
    ~TextBlocks() { FreeTextBlocks(); }
    TextBlocks(const TextBlocks&) = delete;
    TextBlocks& operator=(const TextBlocks&) = delete;

    // A fresh set: the source and speak blocks of `size` bytes each, the echo blocks of 3000.
    // On a failure its code (-4 or -5) is reported against `owner`, the blocks allocated so far
    // are released again and -1 is returned.
    int32_t AllocTextBlocks(platform::MessageService& messages, QWidget* owner, std::size_t size);
    // Releases the blocks in the order source, speak, echo line, echo chunk.
    void FreeTextBlocks();

    bool allocated() const { return m_blocks[0] != nullptr; }
    std::size_t size() const { return m_size; }
    char* sourceText() const { return m_blocks[kSource]; }
    char* speakText() const { return m_blocks[kSpeak]; }
    char* echoLine() const { return m_blocks[kEchoLine]; }
    char* echoChunk() const { return m_blocks[kEchoChunk]; }

  private:
    enum Block { kSource, kSpeak, kEchoLine, kEchoChunk };

    BlockAllocator& m_allocator;
    std::array<char*, 4> m_blocks{};
    std::size_t m_size = 0;
};

}  // namespace speech
