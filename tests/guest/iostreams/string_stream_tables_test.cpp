// The virtual tables, VTTs, construction tables and type information of the
// string buffer and the three string streams, word by word, as game code
// reads them when it constructs, destroys and calls these objects.
#include "abi_tables.h"
#include "string_streams.h"

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

namespace {

using abi_tables::at;
using abi_tables::code;
using abi_tables::num;

// The destructor slots of the string buffer's table (words 2 and 3) hold
// internal functions, checked by their behaviour below.
const word internal = 0;
const unsigned internal_destructors = 1u << 2 | 1u << 3;

void check_tables() {
  const abi_tables::table_case cases[] = {
      {"vtable for std::basic_stringbuf<char>", vt_stringbuf, 16,
       {num(0), ti_stringbuf, internal, internal, code(sb_imbue), code(strb_setbuf), code(strb_seekoff),
        code(strb_seekpos), code(sb_sync), code(strb_showmanyc), code(sb_xsgetn), code(strb_underflow),
        code(sb_uflow), code(strb_pbackfail), code(sb_xsputn), code(strb_overflow)},
       internal_destructors},
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
  for (const abi_tables::table_case& c : cases) abi_tables::check_table(c);
}

// All four are single-inheritance records naming their direct base.
void check_type_infos() {
  const abi_tables::type_info_case cases[] = {
      {"typeinfo for std::basic_stringbuf<char>", ti_stringbuf, tv_si_class, SB, 1, {ti_streambuf}},
      {"typeinfo for std::istringstream", ti_iss, tv_si_class, ISS, 1, {ti_istream}},
      {"typeinfo for std::ostringstream", ti_oss, tv_si_class, OSS, 1, {ti_ostream}},
      {"typeinfo for std::stringstream", ti_ss, tv_si_class, SS, 1, {ti_iostream}},
  };
  for (const abi_tables::type_info_case& c : cases) abi_tables::check_type_info(c);
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
