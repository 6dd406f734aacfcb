#include "chart/jpeg_library.h"

#include <QString>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// The library's own declaration of its Huffman coder's place in the compressor, which
// QuantizeWithLibrary fills with its own. Not every installation has that header (Debian's
// has); without it, the same three calls that the library makes are declared here.
#if __has_include(<jpegint.h>)
#define JPEG_INTERNALS
#include <jpeglib.h>
#undef MAX
#undef MIN
#else
#include <jpeglib.h>
extern "C" {
struct jpeg_entropy_encoder {
  void (*start_pass)(j_compress_ptr info, boolean gatherStatistics);
  boolean (*encode_mcu)(j_compress_ptr info, JBLOCKROW* blocks);
  void (*finish_pass)(j_compress_ptr info);
};
}
#endif

#include "core/failures.h"

namespace morvik::jpeg {
namespace {

constexpr int kQuality = 100;

// The library reports a fatal error by calling error_exit, which must not return. It
// jumps back to the function that called the library, where only plain data lives
// between the setjmp and the library calls, so that no destructor is ever skipped.
struct ErrorTrap {
  jpeg_error_mgr manager;  // first, so that the library's pointer to it is the trap's
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void JumpBack(j_common_ptr info) {
  ErrorTrap* trap = reinterpret_cast<ErrorTrap*>(info->err);
  (*info->err->format_message)(info, trap->message);
  std::longjmp(trap->jump, 1);
}

void KeepQuiet(j_common_ptr) {}  // warnings on our own data are not the user's business

void InstallTrap(ErrorTrap& trap) {
  jpeg_std_error(&trap.manager);
  trap.manager.error_exit = JumpBack;
  trap.manager.output_message = KeepQuiet;
  trap.message[0] = '\0';
}

[[noreturn]] void ThrowLibraryFailure(const char* what, const ErrorTrap& trap) {
  throw RunFailure(
      QStringLiteral("JPEG %1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(trap.message)));
}

// The settings of Qt's image writer at quality 100; the density is set as it states it.
void Configure(jpeg_compress_struct& info, int width, int height, Density density) {
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  info.density_unit = density.unit;
  info.X_density = density.x;
  info.Y_density = density.y;
  jpeg_set_quality(&info, kQuality, TRUE);
}

bool CompressOrJump(jpeg_compress_struct& info, ErrorTrap& trap, const RgbPixels& pixels,
                    Density density, JSAMPROW* rows, unsigned char** out, unsigned long* size) {
  if (setjmp(trap.jump) != 0) return false;
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, out, size);
  Configure(info, pixels.width, pixels.height, density);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    jpeg_write_scanlines(&info, rows + info.next_scanline, info.image_height - info.next_scanline);
  }
  jpeg_finish_compress(&info);
  return true;
}

// Takes the place of the library's Huffman coder once compression has started: it keeps
// the blocks of each MCU, in room made beforehand, and codes nothing. The library calls
// it from C, so it does nothing that could throw.
struct BlockKeeper {
  jpeg_entropy_encoder coder;  // first, so that the library's pointer to it is the keeper's
  Block* next = nullptr;
  std::size_t room = 0;  // blocks from `next`
  std::size_t mcus = 0;  // handed over, kept or not
};

static_assert(sizeof(JBLOCK) == sizeof(Block), "a block of the library is one of ours");

void StartNothing(j_compress_ptr, boolean) {}
void FinishNothing(j_compress_ptr) {}

boolean KeepMcu(j_compress_ptr info, JBLOCKROW* blocks) {
  BlockKeeper* keeper = reinterpret_cast<BlockKeeper*>(info->entropy);
  ++keeper->mcus;
  const auto count = static_cast<std::size_t>(info->blocks_in_MCU);
  if (count > keeper->room) return TRUE;  // more than the layout said: found out after
  for (std::size_t b = 0; b < count; ++b) {
    std::memcpy(keeper->next + b, blocks[b], sizeof(Block));
  }
  keeper->next += count;
  keeper->room -= count;
  return TRUE;
}

// Starts the compression and puts the keeper in the Huffman coder's place; gives the
// layout of the MCUs, with no room for blocks yet.
bool StartQuantizingOrJump(jpeg_compress_struct& info, ErrorTrap& trap, const RgbPixels& pixels,
                           unsigned char** out, unsigned long* size, BlockKeeper& keeper,
                           QuantizedMcus& layout) {
  if (setjmp(trap.jump) != 0) return false;
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, out, size);  // the headers only
  Configure(info, pixels.width, pixels.height, Density{});
  jpeg_start_compress(&info, TRUE);
  if (info.comps_in_scan != 3) {
    std::snprintf(trap.message, sizeof trap.message, "%d components in the scan",
                  info.comps_in_scan);
    return false;
  }
  layout.columns = static_cast<int>(info.MCUs_per_row);
  layout.rows = static_cast<int>(info.MCU_rows_in_scan);
  for (int c = 0; c < 3; ++c) {
    layout.blockColumns[c] = info.cur_comp_info[c]->MCU_width;
    layout.blockRows[c] = info.cur_comp_info[c]->MCU_height;
  }
  layout.blocksPerMcu = info.blocks_in_MCU;
  keeper.coder.start_pass = StartNothing;
  keeper.coder.encode_mcu = KeepMcu;
  keeper.coder.finish_pass = FinishNothing;
  info.entropy = &keeper.coder;
  return true;
}

bool QuantizeOrJump(jpeg_compress_struct& info, ErrorTrap& trap, JSAMPROW* rows) {
  if (setjmp(trap.jump) != 0) return false;
  while (info.next_scanline < info.image_height) {
    jpeg_write_scanlines(&info, rows + info.next_scanline, info.image_height - info.next_scanline);
  }
  jpeg_finish_compress(&info);
  return true;
}

bool ReadOrJump(jpeg_decompress_struct& info, ErrorTrap& trap, const std::vector<uint8_t>& file,
                std::array<ComponentBlocks, 3>& components) {
  if (setjmp(trap.jump) != 0) return false;
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, file.data(), static_cast<unsigned long>(file.size()));
  jpeg_read_header(&info, TRUE);
  if (info.num_components != 3) {
    std::snprintf(trap.message, sizeof trap.message, "%d components", info.num_components);
    return false;
  }
  jvirt_barray_ptr* arrays = jpeg_read_coefficients(&info);
  for (int c = 0; c < 3; ++c) {
    const jpeg_component_info& component = info.comp_info[c];
    ComponentBlocks& out = components[c];
    out.widthInBlocks = static_cast<int>(component.width_in_blocks);
    out.heightInBlocks = static_cast<int>(component.height_in_blocks);
    out.blocks.resize(static_cast<std::size_t>(out.widthInBlocks) * out.heightInBlocks);
    for (int row = 0; row < out.heightInBlocks; ++row) {
      JBLOCKARRAY blockRow = (*info.mem->access_virt_barray)(
          reinterpret_cast<j_common_ptr>(&info), arrays[c], static_cast<JDIMENSION>(row), 1, FALSE);
      std::memcpy(&out.blocks[static_cast<std::size_t>(row) * out.widthInBlocks], blockRow[0],
                  sizeof(Block) * out.widthInBlocks);
    }
  }
  jpeg_finish_decompress(&info);
  return true;
}

HuffmanSpec SpecOf(const JHUFF_TBL& table) {
  HuffmanSpec huffman;
  int total = 0;
  for (int length = 1; length <= 16; ++length) {
    huffman.counts[length - 1] = table.bits[length];
    total += table.bits[length];
  }
  huffman.symbols.assign(table.huffval, table.huffval + std::min(total, 256));
  return huffman;
}

bool DefaultsOrJump(jpeg_compress_struct& info, ErrorTrap& trap) {
  if (setjmp(trap.jump) != 0) return false;
  jpeg_create_compress(&info);
  Configure(info, 16, 16, Density{});
  return true;
}

CodingTables ReadLibraryTables() {
  ErrorTrap trap;
  InstallTrap(trap);
  jpeg_compress_struct info{};
  info.err = &trap.manager;
  if (!DefaultsOrJump(info, trap)) {
    jpeg_destroy_compress(&info);
    ThrowLibraryFailure("tables", trap);
  }
  CodingTables tables;
  for (int t = 0; t < 2; ++t) {
    std::copy_n(info.quant_tbl_ptrs[t]->quantval, 64, tables.quantization[t].begin());
  }
  tables.lumaDc = SpecOf(*info.dc_huff_tbl_ptrs[0]);
  tables.lumaAc = SpecOf(*info.ac_huff_tbl_ptrs[0]);
  tables.chromaDc = SpecOf(*info.dc_huff_tbl_ptrs[1]);
  tables.chromaAc = SpecOf(*info.ac_huff_tbl_ptrs[1]);
  jpeg_destroy_compress(&info);
  return tables;
}

std::vector<JSAMPROW> RowsOf(const RgbPixels& pixels) {
  if (pixels.width <= 0 || pixels.height <= 0 || pixels.data == nullptr) {
    throw RunFailure(QStringLiteral("JPEG: no pixels to encode"));
  }
  std::vector<JSAMPROW> rows(static_cast<std::size_t>(pixels.height));
  for (int y = 0; y < pixels.height; ++y) {
    rows[y] = const_cast<JSAMPROW>(pixels.data + y * pixels.stride);  // the library only reads
  }
  return rows;
}

}  // namespace

std::vector<uint8_t> CompressWithLibrary(const RgbPixels& pixels, Density density) {
  std::vector<JSAMPROW> rows = RowsOf(pixels);
  ErrorTrap trap;
  InstallTrap(trap);
  jpeg_compress_struct info{};
  info.err = &trap.manager;
  unsigned char* out = nullptr;
  unsigned long size = 0;
  const bool done = CompressOrJump(info, trap, pixels, density, rows.data(), &out, &size);
  jpeg_destroy_compress(&info);
  std::vector<uint8_t> file;
  if (done) file.assign(out, out + size);
  std::free(out);  // the library allocates the output buffer with malloc
  if (!done) ThrowLibraryFailure("encoding", trap);
  return file;
}

QuantizedMcus QuantizeWithLibrary(const RgbPixels& pixels) {
  std::vector<JSAMPROW> rows = RowsOf(pixels);
  ErrorTrap trap;
  InstallTrap(trap);
  // Destroyed on every way out, a throw from making room included.
  struct Compressor {
    jpeg_compress_struct info{};
    unsigned char* out = nullptr;
    unsigned long size = 0;
    ~Compressor() {
      jpeg_destroy_compress(&info);
      std::free(out);  // the library allocates the output buffer with malloc
    }
  } compressor;
  compressor.info.err = &trap.manager;
  BlockKeeper keeper;
  QuantizedMcus mcus;
  if (!StartQuantizingOrJump(compressor.info, trap, pixels, &compressor.out, &compressor.size,
                             keeper, mcus)) {
    ThrowLibraryFailure("encoding", trap);
  }
  const std::size_t expected = static_cast<std::size_t>(mcus.columns) * mcus.rows;
  mcus.blocks.resize(expected * mcus.blocksPerMcu);
  keeper.next = mcus.blocks.data();
  keeper.room = mcus.blocks.size();
  if (!QuantizeOrJump(compressor.info, trap, rows.data())) ThrowLibraryFailure("encoding", trap);
  if (keeper.mcus != expected) {
    throw RunFailure(QStringLiteral("JPEG: the library gave %1 MCUs, not %2")
                         .arg(keeper.mcus)
                         .arg(expected));
  }
  return mcus;
}

std::array<ComponentBlocks, 3> ReadQuantizedBlocks(const std::vector<uint8_t>& file) {
  ErrorTrap trap;
  InstallTrap(trap);
  jpeg_decompress_struct info{};
  info.err = &trap.manager;
  std::array<ComponentBlocks, 3> components;
  const bool done = ReadOrJump(info, trap, file, components);
  jpeg_destroy_decompress(&info);
  if (!done) ThrowLibraryFailure("reading coefficients", trap);
  return components;
}

const CodingTables& LibraryCodingTables() {
  static const CodingTables tables = ReadLibraryTables();
  return tables;
}

}  // namespace morvik::jpeg
