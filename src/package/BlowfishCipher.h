#pragma once

#include <cstdint>

namespace quillmere {

class CBlockCipher {
  public:
    explicit CBlockCipher(const char* keyText);
    virtual ~CBlockCipher();
    CBlockCipher(const CBlockCipher&) = delete;
    CBlockCipher& operator=(const CBlockCipher&) = delete;

    // `data` and `buf` may be the same; otherwise `count` bytes are copied to `buf` first.
    virtual std::uint32_t EncryptBuffer(const std::uint8_t* data, std::uint32_t count,
                                        std::uint8_t* buf) = 0;
    virtual std::uint32_t DecryptBuffer(const std::uint8_t* data, std::uint32_t count,
                                        std::uint8_t* buf) = 0;

  protected:
    char Key[100];
};

class CBlowfishCipher : public CBlockCipher {
  public:
    explicit CBlowfishCipher(const char* keyText);
    ~CBlowfishCipher() override;

    std::uint32_t EncryptBuffer(const std::uint8_t* data, std::uint32_t count,
                                std::uint8_t* buf) override;
    std::uint32_t DecryptBuffer(const std::uint8_t* data, std::uint32_t count,
                                std::uint8_t* buf) override;
    void EncryptBlock(std::uint32_t& left, std::uint32_t& right) const;
    void DecryptBlock(std::uint32_t& left, std::uint32_t& right) const;

  private:
    std::uint32_t* PArray;
    std::uint32_t* SBoxes;
};

}  // namespace quillmere
