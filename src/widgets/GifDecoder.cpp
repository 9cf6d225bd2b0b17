// The GIF reader of CDib: the first image of a GIF87a or GIF89a stream, interlaced or not, with
// its local colour table when it has one (else the global one), decoded into a packed 8-bit
// bottom-up DIB with a 256-entry colour table.
//
// The reader is a set of plain functions over one module-wide state (a decode at a time, on the
// user-interface thread): a 30000-byte window on the source refilled as it is used up, the LZW
// tables, and the row being filled. Every read is checked against the input and every write
// against the image, so a damaged stream ends in the corrupt-image message, never outside a
// buffer. Rows the data never reaches stay zero.
#include "widgets/Dib.h"

#include <cstdlib>
#include <cstring>

namespace {

const int kInputSize = 30000;
const int kMaxCodes = 4096;  // 12-bit codes
// Pictures larger than this are out of the reader's limits (and a damaged header's claim).
const unsigned kMaxPixels = 4096u * 4096u;

const char kCorruptImage[] = "A corrupt image was found.\nThis may affect the display in some sections of the program.";

struct GifReaderState {
    // Input window on the source.
    BYTE input[kInputSize];
    BYTE* pInput = nullptr;     // next unread byte
    BYTE* pInputEnd = nullptr;  // end of the bytes read into the window
    CFile* pSource = nullptr;
    // Data sub-blocks: bytes still unread in the current one; set when a zero-length block
    // ended the data before the end code.
    UINT subBlockLeft = 0;
    bool dataEnded = false;

    // LZW tables and the string stack (a string is at most the table's size plus one pixel).
    int prefix[kMaxCodes];
    BYTE suffix[kMaxCodes];
    BYTE stack[kMaxCodes + 1];
    int stackTop = 0;
    unsigned bitBuffer = 0;
    int bitCount = 0;
    int codeSize = 0;

    // The image being filled.
    BYTE* pBits = nullptr;
    LONG width = 0;
    LONG height = 0;
    size_t rowLength = 0;
    LONG currentRow = 0;  // counted from the top
    LONG column = 0;
    bool interlaced = false;
    int pass = 0;
};

GifReaderState g_gif;

[[noreturn]] void GifCorrupt()
{
    AfxThrowUserException();
}

void GifFillBuffer(CFile* pSource)
{
    g_gif.pSource = pSource;
    UINT n = pSource->Read(g_gif.input, kInputSize);
    g_gif.pInput = g_gif.input;
    g_gif.pInputEnd = g_gif.input + n;
}

// Moves the unread tail to the front and reads behind it; false at the end of the source.
bool GifRefillBuffer()
{
    size_t tail = size_t(g_gif.pInputEnd - g_gif.pInput);
    std::memmove(g_gif.input, g_gif.pInput, tail);
    UINT n = g_gif.pSource->Read(g_gif.input + tail, UINT(kInputSize - tail));
    g_gif.pInput = g_gif.input;
    g_gif.pInputEnd = g_gif.input + tail + n;
    return n != 0;
}

// The next byte of the stream; the end of the input is a corrupt image.
BYTE GifReadByte()
{
    if (g_gif.pInput == g_gif.pInputEnd && !GifRefillBuffer())
        GifCorrupt();
    return *g_gif.pInput++;
}

// Up to n bytes of the stream; returns how many there were.
size_t GifTake(BYTE* pOut, size_t n)
{
    size_t got = 0;
    while (got < n) {
        if (g_gif.pInput == g_gif.pInputEnd && !GifRefillBuffer())
            break;
        pOut[got++] = *g_gif.pInput++;
    }
    return got;
}

void GifSkipSubBlocks()
{
    for (;;) {
        BYTE length = GifReadByte();
        if (length == 0)
            return;
        for (int i = 0; i < length; ++i)
            GifReadByte();
    }
}

void GifStartSubBlock()
{
    g_gif.subBlockLeft = 0;
    g_gif.dataEnded = false;
}

// The next byte of the image data, across sub-blocks; -1 once a zero-length block has ended the
// data.
int GifNextBlockByte()
{
    if (g_gif.dataEnded)
        return -1;
    if (g_gif.subBlockLeft == 0) {
        g_gif.subBlockLeft = GifReadByte();
        if (g_gif.subBlockLeft == 0) {
            g_gif.dataEnded = true;
            return -1;
        }
    }
    --g_gif.subBlockLeft;
    return GifReadByte();
}

// The next code, least significant bit first; -1 when the data has ended.
int GifGetNextCode()
{
    while (g_gif.bitCount < g_gif.codeSize) {
        int byte = GifNextBlockByte();
        if (byte < 0)
            return -1;
        g_gif.bitBuffer |= unsigned(byte) << g_gif.bitCount;
        g_gif.bitCount += 8;
    }
    int code = int(g_gif.bitBuffer & ((1u << g_gif.codeSize) - 1));
    g_gif.bitBuffer >>= g_gif.codeSize;
    g_gif.bitCount -= g_gif.codeSize;
    return code;
}

// A row is complete: move to the next one, in interlace order when the image is interlaced. A
// row beyond the image is a corrupt image.
void GifPutLine()
{
    if (g_gif.currentRow >= g_gif.height)
        GifCorrupt();
    if (!g_gif.interlaced) {
        ++g_gif.currentRow;
        return;
    }
    static const int kStep[5] = {0, 8, 8, 4, 2};
    static const int kFirstRow[5] = {0, 0, 4, 2, 1};
    g_gif.currentRow += kStep[g_gif.pass];
    // A pass that is done, or whose first row lies beyond the image, gives way to the next.
    while (g_gif.currentRow >= g_gif.height && g_gif.pass < 4) {
        ++g_gif.pass;
        g_gif.currentRow = kFirstRow[g_gif.pass];
    }
}

void GifEmit(BYTE pixel)
{
    if (g_gif.currentRow < g_gif.height)
        g_gif.pBits[size_t(g_gif.height - 1 - g_gif.currentRow) * g_gif.rowLength + size_t(g_gif.column)] = pixel;
    if (++g_gif.column == g_gif.width) {
        g_gif.column = 0;
        GifPutLine();
    }
}

void GifPush(BYTE pixel)
{
    if (g_gif.stackTop >= int(sizeof g_gif.stack))
        GifCorrupt();
    g_gif.stack[g_gif.stackTop++] = pixel;
}

void GifDecodeImage()
{
    // Codes start one bit wider than the minimum code size and stop growing at 12 bits, so 11
    // is the largest size a stream can use; above 8, the literal codes beyond the 256 colours
    // of a picture are damage.
    const int minCodeSize = GifReadByte();
    if (minCodeSize < 2 || minCodeSize > 11)
        GifCorrupt();
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    const int firstFree = clearCode + 2;
    g_gif.bitBuffer = 0;
    g_gif.bitCount = 0;
    g_gif.codeSize = minCodeSize + 1;
    g_gif.stackTop = 0;
    int topSlot = 1 << g_gif.codeSize;
    int slot = firstFree;
    int oldCode = -1;  // none since the start or the last clear code
    int firstPixel = 0;
    GifStartSubBlock();

    for (;;) {
        int c = GifGetNextCode();
        if (c < 0 || c == endCode)
            return;
        if (c == clearCode) {
            g_gif.codeSize = minCodeSize + 1;
            topSlot = 1 << g_gif.codeSize;
            slot = firstFree;
            oldCode = -1;
            continue;
        }
        if (oldCode < 0) {
            // The first code after a clear stands for one pixel.
            if (c >= clearCode || c > 255)
                GifCorrupt();
            GifEmit(BYTE(c));
            oldCode = firstPixel = c;
            continue;
        }
        const int code = c;
        if (c > slot)
            GifCorrupt();
        if (c == slot) {  // the code being defined: the previous string and its first pixel
            GifPush(BYTE(firstPixel));
            c = oldCode;
        }
        while (c >= firstFree) {
            GifPush(g_gif.suffix[c]);
            c = g_gif.prefix[c];
        }
        if (c > 255)
            GifCorrupt();
        GifPush(BYTE(c));
        firstPixel = c;
        if (slot < topSlot) {
            g_gif.suffix[slot] = BYTE(c);
            g_gif.prefix[slot] = oldCode;
            ++slot;
        }
        oldCode = code;
        if (slot >= topSlot && g_gif.codeSize < 12) {
            ++g_gif.codeSize;
            topSlot <<= 1;
        }
        while (g_gif.stackTop > 0)
            GifEmit(g_gif.stack[--g_gif.stackTop]);
    }
}

// A colour table of the stream (3 bytes a colour) into the DIB's table.
void GifReadColorTable(RGBQUAD* pTable, int nColors)
{
    for (int i = 0; i < nColors; ++i) {
        BYTE rgb[3];
        if (GifTake(rgb, 3) != 3)
            GifCorrupt();
        pTable[i] = RGBQUAD{rgb[2], rgb[1], rgb[0], 0};
    }
}

enum class GifWalk { Image, NoImage, NoColourMap, NoMemory };

// Walks the blocks after the header to the first image and decodes it into a new block.
GifWalk GifReadFirstImage(const RGBQUAD* pGlobal, int nGlobalColors, BYTE*& pBlock)
{
    for (;;) {
        BYTE introducer = GifReadByte();
        if (introducer == 0x3B)
            return GifWalk::NoImage;
        if (introducer == 0x21) {
            GifReadByte();  // the label
            GifSkipSubBlocks();
            continue;
        }
        if (introducer != 0x2C)
            continue;

        BYTE descriptor[9];
        if (GifTake(descriptor, 9) != 9)
            GifCorrupt();
        const LONG width = descriptor[4] | (descriptor[5] << 8);
        const LONG height = descriptor[6] | (descriptor[7] << 8);
        const BYTE flags = descriptor[8];
        if (width == 0 || height == 0 || unsigned(width) * unsigned(height) > kMaxPixels)
            GifCorrupt();
        RGBQUAD local[256];
        const RGBQUAD* pTable = pGlobal;
        int nColors = nGlobalColors;
        if (flags & 0x80) {
            nColors = 1 << ((flags & 7) + 1);
            GifReadColorTable(local, nColors);
            pTable = local;
        }
        if (pTable == nullptr)
            return GifWalk::NoColourMap;

        const size_t rowLength = (size_t(width) + 3) & ~size_t(3);
        const size_t imageSize = rowLength * size_t(height);
        pBlock = static_cast<BYTE*>(std::calloc(1, sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD) + imageSize));
        if (pBlock == nullptr)
            return GifWalk::NoMemory;
        BITMAPINFOHEADER* pHeader = reinterpret_cast<BITMAPINFOHEADER*>(pBlock);
        pHeader->biSize = sizeof(BITMAPINFOHEADER);
        pHeader->biWidth = width;
        pHeader->biHeight = height;
        pHeader->biPlanes = 1;
        pHeader->biBitCount = 8;
        pHeader->biCompression = BI_RGB;
        pHeader->biSizeImage = DWORD(imageSize);
        pHeader->biClrUsed = 256;
        pHeader->biClrImportant = DWORD(nColors);
        RGBQUAD* pColors = reinterpret_cast<RGBQUAD*>(pBlock + sizeof(BITMAPINFOHEADER));
        std::memcpy(pColors, pTable, size_t(nColors) * sizeof(RGBQUAD));

        g_gif.pBits = pBlock + sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD);
        g_gif.width = width;
        g_gif.height = height;
        g_gif.rowLength = rowLength;
        g_gif.currentRow = 0;
        g_gif.column = 0;
        g_gif.interlaced = (flags & 0x40) != 0;
        g_gif.pass = g_gif.interlaced ? 1 : 0;
        GifDecodeImage();
        return GifWalk::Image;
    }
}

}  // namespace

BYTE* CDib::ReadGif(LONG lOffset)
{
    CFile* pSource = lOffset == -1 ? static_cast<CFile*>(m_pGifMemFile) : m_pGifFile;
    if (pSource == nullptr)
        return nullptr;
    auto releaseFileSource = [this] {
        if (m_pGifFile != nullptr) {
            m_pGifFile->Abort();
            delete m_pGifFile;
            m_pGifFile = nullptr;
        }
    };
    auto failWith = [&](LPCSTR lpszMessage) {
        AfxMessageBox(lpszMessage, MB_OK);
        Free();
        releaseFileSource();
        AfxThrowUserException();
    };

    g_gif.currentRow = 0;
    try {
        if (lOffset == -1)
            pSource->SeekToBegin();
        else
            pSource->Seek(lOffset, CFile::begin);
    } catch (CFileException* e) {
        e->Delete();
        return nullptr;
    }

    BYTE* pBlock = nullptr;
    GifWalk outcome = GifWalk::NoImage;
    bool signatureFound = false;
    try {
        GifFillBuffer(pSource);
        BYTE header[13];
        size_t got = GifTake(header, sizeof header);
        signatureFound = got >= 3 && std::memcmp(header, "GIF", 3) == 0;
        if (signatureFound) {
            if (got < sizeof header)
                GifCorrupt();
            RGBQUAD global[256];
            int nGlobalColors = 0;
            if (header[10] & 0x80) {
                nGlobalColors = 1 << ((header[10] & 7) + 1);
                GifReadColorTable(global, nGlobalColors);
            }
            outcome = GifReadFirstImage(nGlobalColors != 0 ? global : nullptr, nGlobalColors, pBlock);
        }
    } catch (CException* e) {
        e->Delete();
        AfxMessageBox(kCorruptImage, MB_OK);
        releaseFileSource();
        std::free(pBlock);
        return nullptr;
    }

    if (!signatureFound)
        failWith("GIF Signature not found");
    if (outcome == GifWalk::NoColourMap)
        failWith("I could not find a colour map.");
    if (outcome != GifWalk::Image)
        return nullptr;
    Free();
    AttachPackedDib(pBlock);
    return pBlock;
}
