// Reading the library's virtual tables, VTTs and type-information records
// word by word, under the mangled names game code finds them by. The tables
// of the base stream classes are declared here once; each table test adds
// its own classes and lists the words it expects.
#ifndef TORVEL_TEST_ABI_TABLES_H
#define TORVEL_TEST_ABI_TABLES_H

#include "check.h"

typedef const void* word;

// A data or code symbol of the library under its mangled name.
#define DATA(var, name) extern "C" const word var[] __asm__(name)
#define CODE(var, name) extern "C" void var() __asm__(name)

#define STREAMBUF_NAME "St15basic_streambufIcSt11char_traitsIcEE"

DATA(vt_streambuf, "_ZTV" STREAMBUF_NAME);
DATA(ti_streambuf, "_ZTI" STREAMBUF_NAME);
DATA(ti_istream, "_ZTISi");
DATA(ti_ostream, "_ZTISo");
DATA(ti_iostream, "_ZTISd");
DATA(tv_class, "_ZTVN10__cxxabiv117__class_type_infoE");
DATA(tv_si_class, "_ZTVN10__cxxabiv120__si_class_type_infoE");
DATA(tv_vmi_class, "_ZTVN10__cxxabiv121__vmi_class_type_infoE");

// The stream buffer's own virtual functions, which derived buffers keep in
// the slots they do not replace.
CODE(sb_d1, "_ZN" STREAMBUF_NAME "D1Ev");
CODE(sb_d0, "_ZN" STREAMBUF_NAME "D0Ev");
CODE(sb_imbue, "_ZN" STREAMBUF_NAME "5imbueERKSt6locale");
CODE(sb_setbuf, "_ZN" STREAMBUF_NAME "6setbufEPci");
CODE(sb_seekoff, "_ZN" STREAMBUF_NAME "7seekoffExSt12_Ios_SeekdirSt13_Ios_Openmode");
CODE(sb_seekpos, "_ZN" STREAMBUF_NAME "7seekposESt4fposI11__mbstate_tESt13_Ios_Openmode");
CODE(sb_sync, "_ZN" STREAMBUF_NAME "4syncEv");
CODE(sb_showmanyc, "_ZN" STREAMBUF_NAME "9showmanycEv");
CODE(sb_xsgetn, "_ZN" STREAMBUF_NAME "6xsgetnEPci");
CODE(sb_underflow, "_ZN" STREAMBUF_NAME "9underflowEv");
CODE(sb_uflow, "_ZN" STREAMBUF_NAME "5uflowEv");
CODE(sb_pbackfail, "_ZN" STREAMBUF_NAME "9pbackfailEi");
CODE(sb_xsputn, "_ZN" STREAMBUF_NAME "6xsputnEPKci");
CODE(sb_overflow, "_ZN" STREAMBUF_NAME "8overflowEi");

// The destructors and thunks of istream, ostream and iostream, which every
// construction virtual table of a derived stream carries.
CODE(istream_d1, "_ZNSiD1Ev");
CODE(istream_d0, "_ZNSiD0Ev");
CODE(istream_vthunk_d1, "_ZTv0_n12_NSiD1Ev");
CODE(istream_vthunk_d0, "_ZTv0_n12_NSiD0Ev");
CODE(ostream_d1, "_ZNSoD1Ev");
CODE(ostream_d0, "_ZNSoD0Ev");
CODE(ostream_vthunk_d1, "_ZTv0_n12_NSoD1Ev");
CODE(ostream_vthunk_d0, "_ZTv0_n12_NSoD0Ev");
CODE(iostream_d1, "_ZNSdD1Ev");
CODE(iostream_d0, "_ZNSdD0Ev");
CODE(iostream_thunk_d1, "_ZThn8_NSdD1Ev");
CODE(iostream_thunk_d0, "_ZThn8_NSdD0Ev");
CODE(iostream_vthunk_d1, "_ZTv0_n12_NSdD1Ev");
CODE(iostream_vthunk_d0, "_ZTv0_n12_NSdD0Ev");

namespace abi_tables {

inline word code(void (*f)()) { return reinterpret_cast<word>(f); }
inline word num(int n) { return reinterpret_cast<word>(n); }
inline word at(const word* table, int index) { return &table[index]; }

// One table and the words expected in it. Words whose bit is set in
// unchecked are left to a test of their own (internal functions that have
// no name to compare with).
struct table_case {
  const char* name;
  const word* table;
  int words;
  word want[16];
  unsigned unchecked;
};

inline void check_table(const table_case& c) {
  check::set_case(c.name);
  for (int i = 0; i < c.words; ++i) {
    if (c.unchecked & (1u << i)) continue;
    CHECK_EQ(reinterpret_cast<unsigned long>(c.table[i]), reinterpret_cast<unsigned long>(c.want[i]));
  }
}

// A type-information record: the address point of its kind's table, its
// type name, then the words that follow for its kind.
struct type_info_case {
  const char* name;
  const word* record;
  const word* kind_table;
  const char* type_name;
  int words;
  word rest[6];
};

inline void check_type_info(const type_info_case& c) {
  check::set_case(c.name);
  CHECK_EQ(reinterpret_cast<unsigned long>(c.record[0]), reinterpret_cast<unsigned long>(at(c.kind_table, 2)));
  CHECK_TEXT(static_cast<const char*>(c.record[1]), c.type_name);
  for (int i = 0; i < c.words; ++i)
    CHECK_EQ(reinterpret_cast<unsigned long>(c.record[2 + i]), reinterpret_cast<unsigned long>(c.rest[i]));
}

}

#endif
