// The virtual tables, VTTs, construction tables and type information of the
// string buffer and the three string streams, word by word, as game code
// reads them when it constructs, destroys and calls these objects.
#include <string.h>

#include "check.h"
#include "string_streams.h"

typedef const void* word;

#define DATA(var, name) extern "C" const word var[] __asm__(name)
#define CODE(var, name) extern "C" void var() __asm__(name)

#define SB "St15basic_stringbufIcSt11char_traitsIcESaIcEE"
#define ISS "St19basic_istringstreamIcSt11char_traitsIcESaIcEE"
#define OSS "St19basic_ostringstreamIcSt11char_traitsIcESaIcEE"
#define SS "St18basic_stringstreamIcSt11char_traitsIcESaIcEE"

DATA(vt_stringbuf, "_ZTV" SB);
DATA(vt_iss, "_ZTV" ISS);
DATA(vt_oss, "_ZTV" OSS);
DATA(vt_ss, "_ZTV" SS);
DATA(ct_istream_in_iss, "_ZTC" ISS "0_Si");
DATA(ct_ostream_in_oss, "_ZTC" OSS "0_So");
DATA(ct_iostream_in_ss, "_ZTC" SS "0_Sd");
DATA(ct_istream_in_ss, "_ZTC" SS "0_Si");
DATA(ct_ostream_in_ss, "_ZTC" SS "8_So");
DATA(vtt_iss, "_ZTT" ISS);
DATA(vtt_oss, "_ZTT" OSS);
DATA(vtt_ss, "_ZTT" SS);

DATA(ti_stringbuf, "_ZTI" SB);
DATA(ti_iss, "_ZTI" ISS);
DATA(ti_oss, "_ZTI" OSS);
DATA(ti_ss, "_ZTI" SS);
DATA(ti_streambuf, "_ZTISt15basic_streambufIcSt11char_traitsIcEE");
DATA(ti_istream, "_ZTISi");
DATA(ti_ostream, "_ZTISo");
DATA(ti_iostream, "_ZTISd");
DATA(tv_si_class, "_ZTVN10__cxxabiv120__si_class_type_infoE");

DATA(vt_streambuf, "_ZTVSt15basic_streambufIcSt11char_traitsIcEE");

CODE(sb_imbue, "_ZNSt15basic_streambufIcSt11char_traitsIcEE5imbueERKSt6locale");
CODE(sb_sync, "_ZNSt15basic_streambufIcSt11char_traitsIcEE4syncEv");
CODE(sb_xsgetn, "_ZNSt15basic_streambufIcSt11char_traitsIcEE6xsgetnEPci");
CODE(sb_uflow, "_ZNSt15basic_streambufIcSt11char_traitsIcEE5uflowEv");
CODE(sb_xsputn, "_ZNSt15basic_streambufIcSt11char_traitsIcEE6xsputnEPKci");
CODE(strb_setbuf, "_ZN" SB "6setbufEPci");
CODE(strb_seekoff, "_ZN" SB "7seekoffExSt12_Ios_SeekdirSt13_Ios_Openmode");
CODE(strb_seekpos, "_ZN" SB "7seekposESt4fposI11__mbstate_tESt13_Ios_Openmode");
CODE(strb_showmanyc, "_ZN" SB "9showmanycEv");
CODE(strb_underflow, "_ZN" SB "9underflowEv");
CODE(strb_pbackfail, "_ZN" SB "9pbackfailEi");
CODE(strb_overflow, "_ZN" SB "8overflowEi");

CODE(iss_d1, "_ZN" ISS "D1Ev");
CODE(iss_d0, "_ZN" ISS "D0Ev");
CODE(iss_vthunk_d1, "_ZTv0_n12_N" ISS "D1Ev");
CODE(iss_vthunk_d0, "_ZTv0_n12_N" ISS "D0Ev");
CODE(oss_d1, "_ZN" OSS "D1Ev");
CODE(oss_d0, "_ZN" OSS "D0Ev");
CODE(oss_vthunk_d1, "_ZTv0_n12_N" OSS "D1Ev");
CODE(oss_vthunk_d0, "_ZTv0_n12_N" OSS "D0Ev");
CODE(ss_d1, "_ZN" SS "D1Ev");
CODE(ss_d0, "_ZN" SS "D0Ev");
CODE(ss_thunk_d1, "_ZThn8_N" SS "D1Ev");
CODE(ss_thunk_d0, "_ZThn8_N" SS "D0Ev");
CODE(ss_vthunk_d1, "_ZTv0_n12_N" SS "D1Ev");
CODE(ss_vthunk_d0, "_ZTv0_n12_N" SS "D0Ev");

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

namespace {

word code(void (*f)()) { return reinterpret_cast<word>(f); }
word num(int n) { return reinterpret_cast<word>(n); }
word at(const word* table, int index) { return &table[index]; }

// The destructor slots of the string buffer's table (words 2 and 3) hold
// internal functions, checked by their behaviour below.
const word internal = 0;

struct table_case {
  const char* name;
  const word* table;
  int words;
  word want[16];
  bool internal_destructors;
};

void check_tables() {
  const table_case cases[] = {
      {"vtable for std::basic_stringbuf<char>", vt_stringbuf, 16,
       {num(0), ti_stringbuf, internal, internal, code(sb_imbue), code(strb_setbuf), code(strb_seekoff),
        code(strb_seekpos), code(sb_sync), code(strb_showmanyc), code(sb_xsgetn), code(strb_underflow),
        code(sb_uflow), code(strb_pbackfail), code(sb_xsputn), code(strb_overflow)},
       true},
      {"vtable for std::istringstream", vt_iss, 10,
       {num(48), num(0), ti_iss, code(iss_d1), code(iss_d0), num(-48), num(-48), ti_iss, code(iss_vthunk_d1),
        code(iss_vthunk_d0)}},
      {"vtable for std::ostringstream", vt_oss, 10,
       {num(44), num(0), ti_oss, code(oss_d1), code(oss_d0), num(-44), num(-44), ti_oss, code(oss_vthunk_d1),
        code(oss_vthunk_d0)}},
      {"vtable for std::stringstream", vt_ss, 15,
       {num(52), num(0), ti_ss, code(ss_d1), code(ss_d0), num(44), num(-8), ti_ss, code(ss_thunk_d1),
        code(ss_thunk_d0), num(-52), num(-52), ti_ss, code(ss_vthunk_d1), code(ss_vthunk_d0)}},
      {"construction vtable for std::istream-in-std::istringstream", ct_istream_in_iss, 10,
       {num(48), num(0), ti_istream, code(istream_d1), code(istream_d0), num(-48), num(-48), ti_istream,
        code(istream_vthunk_d1), code(istream_vthunk_d0)}},
      {"construction vtable for std::ostream-in-std::ostringstream", ct_ostream_in_oss, 10,
       {num(44), num(0), ti_ostream, code(ostream_d1), code(ostream_d0), num(-44), num(-44), ti_ostream,
        code(ostream_vthunk_d1), code(ostream_vthunk_d0)}},
      {"construction vtable for std::iostream-in-std::stringstream", ct_iostream_in_ss, 15,
       {num(52), num(0), ti_iostream, code(iostream_d1), code(iostream_d0), num(44), num(-8), ti_iostream,
        code(iostream_thunk_d1), code(iostream_thunk_d0), num(-52), num(-52), ti_iostream,
        code(iostream_vthunk_d1), code(iostream_vthunk_d0)}},
      {"construction vtable for std::istream-in-std::stringstream", ct_istream_in_ss, 10,
       {num(52), num(0), ti_istream, code(istream_d1), code(istream_d0), num(-52), num(-52), ti_istream,
        code(istream_vthunk_d1), code(istream_vthunk_d0)}},
      {"construction vtable for std::ostream-in-std::stringstream at 8", ct_ostream_in_ss, 10,
       {num(44), num(0), ti_ostream, code(ostream_d1), code(ostream_d0), num(-44), num(-44), ti_ostream,
        code(ostream_vthunk_d1), code(ostream_vthunk_d0)}},
      {"VTT for std::istringstream", vtt_iss, 4,
       {at(vt_iss, 3), at(ct_istream_in_iss, 3), at(ct_istream_in_iss, 8), at(vt_iss, 8)}},
      {"VTT for std::ostringstream", vtt_oss, 4,
       {at(vt_oss, 3), at(ct_ostream_in_oss, 3), at(ct_ostream_in_oss, 8), at(vt_oss, 8)}},
      {"VTT for std::stringstream", vtt_ss, 10,
       {at(vt_ss, 3), at(ct_iostream_in_ss, 3), at(ct_istream_in_ss, 3), at(ct_istream_in_ss, 8),
        at(ct_ostream_in_ss, 3), at(ct_ostream_in_ss, 8), at(ct_iostream_in_ss, 13), at(ct_iostream_in_ss, 8),
        at(vt_ss, 13), at(vt_ss, 8)}},
  };
  for (const table_case& c : cases) {
    check::set_case(c.name);
    for (int i = 0; i < c.words; ++i) {
      if (c.internal_destructors && (i == 2 || i == 3)) continue;
      CHECK_EQ(reinterpret_cast<unsigned long>(c.table[i]), reinterpret_cast<unsigned long>(c.want[i]));
    }
  }
}

struct type_info_case {
  const char* name;
  const word* record;
  const char* type_name;
  const word* base;
};

// All four are single-inheritance records naming their direct base.
void check_type_infos() {
  const type_info_case cases[] = {
      {"typeinfo for std::basic_stringbuf<char>", ti_stringbuf, "St15basic_stringbufIcSt11char_traitsIcESaIcEE",
       ti_streambuf},
      {"typeinfo for std::istringstream", ti_iss, "St19basic_istringstreamIcSt11char_traitsIcESaIcEE", ti_istream},
      {"typeinfo for std::ostringstream", ti_oss, "St19basic_ostringstreamIcSt11char_traitsIcESaIcEE", ti_ostream},
      {"typeinfo for std::stringstream", ti_ss, "St18basic_stringstreamIcSt11char_traitsIcESaIcEE", ti_iostream},
  };
  for (const type_info_case& c : cases) {
    check::set_case(c.name);
    CHECK_EQ(reinterpret_cast<unsigned long>(c.record[0]), reinterpret_cast<unsigned long>(at(tv_si_class, 2)));
    CHECK_TEXT(static_cast<const char*>(c.record[1]), c.type_name);
    CHECK_EQ(reinterpret_cast<unsigned long>(c.record[2]), reinterpret_cast<unsigned long>(c.base));
  }
}

// The string buffer's destructor slots hold the library's own internal
// functions: slot 0 releases the held string and leaves the object's
// storage alone, slot 1 releases both.
void check_buffer_destructor_slots() {
  typedef void (*destructor)(std::stringbuf*);
  destructor complete = reinterpret_cast<destructor>(const_cast<word>(vt_stringbuf[2]));
  destructor deleting = reinterpret_cast<destructor>(const_cast<word>(vt_stringbuf[3]));

  check::set_case("stringbuf destructor slots differ from the base's");
  CHECK(vt_stringbuf[2] != vt_streambuf[2]);
  CHECK(vt_stringbuf[3] != vt_streambuf[3]);
  CHECK(vt_stringbuf[2] != vt_stringbuf[3]);

  check::set_case("stringbuf slot 0: complete-object destructor");
  {
    check::heap_probe heap;
    std::stringbuf* b = new std::stringbuf(std::ios_base::out);
    b->sputc('x');
    CHECK_EQ(heap.live(), 2);
    complete(b);
    CHECK_EQ(heap.live(), 1);
    operator delete(b);
    CHECK_EQ(heap.live(), 0);
  }

  check::set_case("stringbuf slot 1: deleting destructor");
  {
    check::heap_probe heap;
    std::stringbuf* b = new std::stringbuf(std::ios_base::out);
    b->sputc('x');
    CHECK_EQ(heap.live(), 2);
    deleting(b);
    CHECK_EQ(heap.live(), 0);
  }
}

}

int main() {
  check_tables();
  check_type_infos();
  check_buffer_destructor_slots();
  return check::finish();
}
