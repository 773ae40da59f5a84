// The open drawing lives in the workfile; commands work on one current record,
// `info`, paged in blocks of twelve through a one-block cache.
#pragma once

#include <cstdint>

#include "store/records.h"

namespace drav {

constexpr int records_per_block = 12;
constexpr int block_size = records_per_block * 128;  // 1536 bytes, three 512-byte units

extern ObjectRec info;                 // the current record
extern std::int16_t prev_index;        // record held in `info`; -1 none
extern std::uint16_t modified;         // `info` must be written back before another load
extern std::uint16_t needtosave;       // set by every write; cleared when the drawing is saved
extern std::uint8_t* buffer;           // block cache, `block_size` bytes
extern std::int16_t cur_buff_num;      // block held in `buffer`; -1 none
extern std::uint16_t block_modified;   // `buffer` holds records not yet on file
extern std::uint8_t* tbuf;             // copy cache, `block_size` bytes
extern std::int16_t tbuf_num;          // block held in `tbuf`; -1 none
extern std::int16_t workfileRefNum;    // open data fork of the workfile
extern std::uint16_t worksize;         // records the workfile holds, a multiple of 12
extern std::int16_t snaprec;           // record whose snap points object snap caches

void get_info(std::int16_t n);
void put_info(std::int16_t n);
void dir_put_info(std::int16_t n, const ObjectRec& rec);
void get_copy_info(std::int16_t n, ObjectRec& rec);
void nomore_info();
void write_buffer();
void locate_info(std::int16_t n, int* offset, int* block, int read);

// Allocates and clears both caches and resets the store to "nothing loaded".
// Returns 0 when memory could not be had (error 104 already shown).
int init_record_store();
void free_record_store();

}  // namespace drav
