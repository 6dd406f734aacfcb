#include "chart/jpeg_library.h"

#include <QString>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

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

}  // namespace

std::vector<uint8_t> CompressWithLibrary(const RgbPixels& pixels, Density density) {
  if (pixels.width <= 0 || pixels.height <= 0 || pixels.data == nullptr) {
    throw RunFailure(QStringLiteral("JPEG: no pixels to encode"));
  }
  std::vector<JSAMPROW> rows(static_cast<std::size_t>(pixels.height));
  for (int y = 0; y < pixels.height; ++y) {
    rows[y] = const_cast<JSAMPROW>(pixels.data + y * pixels.stride);  // the library only reads
  }
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
