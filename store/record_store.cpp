#include "store/record_store.h"

#include <cstdio>
#include <cstring>

#include "base/messages.h"
#include "base/shutdown.h"
#include "store/files.h"
#include "store/object_snap.h"

namespace drav {

ObjectRec info{};
std::int16_t prev_index = -1;
std::uint16_t modified = 0;
std::uint16_t needtosave = 0;
std::uint8_t* buffer = nullptr;
std::int16_t cur_buff_num = -1;
std::uint16_t block_modified = 0;
std::uint8_t* tbuf = nullptr;
std::int16_t tbuf_num = -1;
std::int16_t workfileRefNum = -1;
std::uint16_t worksize = 0;
std::int16_t snaprec = -1;

namespace {

constexpr int units_per_block = block_size / block_bytes;

// A read-side failure ends the program. `info` is not written anywhere on
// the way out: it may have been meant for another slot.
[[noreturn]] void store_fatal(int error) {
    modified = 0;
    show_error(error, 1);
    leave_program();  // not reached: a fatal error has already ended the program
}

bool block_in_range(int b) { return b >= 0 && b <= worksize / records_per_block - 1; }

}  // namespace

void write_buffer() {
    const std::int16_t written =
        FSRef_blockwrite(workfileRefNum, buffer, units_per_block, cur_buff_num * units_per_block);
    block_modified = 0;
    if (written != units_per_block) {
        std::fputs("DRAV: Blockwrite in LocateInfo crash", stdout);
        std::fflush(stdout);
        // Records are never lost without the user being told.
        char block[16];
        std::snprintf(block, sizeof block, "%d", cur_buff_num);
        show_insert_error(err_block_write, 0, block, "", "", "");
    }
}

void locate_info(std::int16_t n, int* offset, int* block, int read) {
    const int b = n / records_per_block;
    const int s = n % records_per_block;
    *block = b;
    *offset = s * 128;
    if (b != cur_buff_num) {
        if (cur_buff_num != -1 && block_modified) write_buffer();
        // Until the new block is in, the cache holds nothing: a failed read
        // must never be written back over a good block.
        cur_buff_num = -1;
        if (read) {
            if (b < 0 || FSRef_blockread(workfileRefNum, buffer, units_per_block, b * units_per_block) <
                             units_per_block)
                store_fatal(err_block_read);
        }
        if (!block_in_range(b)) store_fatal(err_block_number);
        cur_buff_num = static_cast<std::int16_t>(b);
    }
    if (s < 0 || s > records_per_block - 1) store_fatal(err_slot);
}

void get_info(std::int16_t n) {
    if (modified)
        put_info(prev_index);
    else if (prev_index == n)
        return;
    prev_index = n;
    // A walk takes twelve records running from each block: the block in
    // hand answers without locate_info's checks, which it has passed.
    if (n >= 0 && cur_buff_num >= 0 && n / records_per_block == cur_buff_num) {
        std::memcpy(info.b, buffer + (n % records_per_block) * 128, 128);
        return;
    }
    int offset = 0, block = 0;
    locate_info(n, &offset, &block, 1);
    std::memcpy(info.b, buffer + offset, 128);
}

void put_info(std::int16_t n) {
    needtosave = 1;
    if (n == snaprec) clear_object_snap();
    int offset = 0, block = 0;
    locate_info(n, &offset, &block, 1);
    std::memcpy(buffer + offset, info.b, 128);
    block_modified = 1;
    modified = 0;
}

void dir_put_info(std::int16_t n, const ObjectRec& rec) {
    int offset = 0, block = 0;
    locate_info(n, &offset, &block, 0);
    std::memcpy(buffer + offset, rec.b, 128);
    block_modified = 1;
    needtosave = 1;
}

void get_copy_info(std::int16_t n, ObjectRec& rec) {
    const int b = n / records_per_block;
    const int s = n % records_per_block;
    if (tbuf_num != b || b < 0) {  // -1 also means "nothing cached"
        if (b == cur_buff_num && b >= 0) {
            std::memcpy(tbuf, buffer, block_size);
        } else {
            tbuf_num = -1;
            if (b < 0 || FSRef_blockread(workfileRefNum, tbuf, units_per_block, b * units_per_block) <
                             units_per_block)
                store_fatal(err_block_read);
            if (!block_in_range(b)) store_fatal(err_block_number);
        }
        tbuf_num = static_cast<std::int16_t>(b);
    }
    if (s < 0) store_fatal(err_slot);
    std::memcpy(rec.b, tbuf + s * 128, 128);
}

void nomore_info() {
    // A changed `info` is written back even when no block is cached.
    if (modified && prev_index >= 0) put_info(prev_index);
    if (cur_buff_num != -1 && block_modified) write_buffer();
    cur_buff_num = -1;
}

int init_record_store() {
    if (!buffer) buffer = static_cast<std::uint8_t*>(getmemory(block_size));
    if (!tbuf) tbuf = static_cast<std::uint8_t*>(getmemory(block_size));
    if (!buffer || !tbuf) return 0;
    std::memset(buffer, 0, block_size);
    std::memset(tbuf, 0, block_size);
    zero_info(info);
    prev_index = -1;
    cur_buff_num = -1;
    tbuf_num = -1;
    modified = 0;
    block_modified = 0;
    return 1;
}

void free_record_store() {
    xfree(&buffer);
    xfree(&tbuf);
}

}  // namespace drav
