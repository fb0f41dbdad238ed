#include "speech/textblocks.h"

#include <new>

#include "engine/errorreport.h"

namespace speech {
namespace {

// Blocks from the process heap, zero-filled.
class HeapAllocator : public BlockAllocator {
  public:
    int32_t allocate(std::size_t size, char*& block) override {
        block = new (std::nothrow) char[size == 0 ? 1 : size]();
        return block != nullptr ? 0 : -4;
    }
    void release(char* block) noexcept override { delete[] block; }
};

}  // namespace

BlockAllocator& BlockAllocator::heap() {
    static HeapAllocator allocator;
    return allocator;
}

int32_t TextBlocks::AllocTextBlocks(platform::MessageService& messages, QWidget* owner,
                                    std::size_t size) {
    FreeTextBlocks();
    const std::array<std::size_t, 4> sizes{size, size, kEchoBlockSize, kEchoBlockSize};
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        const int32_t status = m_allocator.allocate(sizes[i], m_blocks[i]);
        if (status != 0) {
            m_blocks[i] = nullptr;
            engine::ReportError(messages, owner, status);
            FreeTextBlocks();
            return -1;
        }
    }
    m_size = size;
    return 0;
}

void TextBlocks::FreeTextBlocks() {
    for (char*& block : m_blocks) {
        if (block != nullptr) {
            m_allocator.release(block);
            block = nullptr;
        }
    }
    m_size = 0;
}

}  // namespace speech
