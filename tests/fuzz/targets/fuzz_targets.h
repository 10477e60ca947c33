#pragma once
// Fuzz targets: each takes arbitrary bytes, runs one family of the program's readers or
// text procedures on them, and stops the process (a crash libFuzzer reports) when a
// property that must always hold is broken. The same bodies run in the libFuzzer programs
// and, over the kept inputs, in the regression test.

#include <cstddef>
#include <cstdint>

namespace tavuro::fuzz {

// text_width, pad_text, money_text, and the money type reading and writing texts.
int text_layout(const uint8_t* data, size_t size);
// The UTF-8/GB18030 text reader and the one-line file reader.
int text_reader(const uint8_t* data, size_t size);
// The four setting-file readers of start-up (nober.dat, co.dat, public.dat, p.dat).
int setting_files(const uint8_t* data, size_t size);
// The RTF reader of the document window, and the RTF it writes read back.
int rtf_reader(const uint8_t* data, size_t size);
// The readers of a day file (today's list, the query, the report sums) over any bytes.
int data_file(const uint8_t* data, size_t size);
// A day file and its backup, both of any bytes (the first two bytes say where the day file
// ends), through start-up's read, a sale line, the report sums and the query: the
// recovery keeps every record of a readable file and the damaged bytes.
int recovery(const uint8_t* data, size_t size);

}  // namespace tavuro::fuzz
