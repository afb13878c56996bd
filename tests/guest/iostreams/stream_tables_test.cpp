// The virtual tables, VTTs, construction tables and type-information records
// of the stream classes, word by word, as game code reads them.
#include "abi_tables.h"
#include "istream.h"

DATA(vt_ios_base, "_ZTVSt8ios_base");
DATA(vt_basic_ios, "_ZTVSt9basic_iosIcSt11char_traitsIcEE");
DATA(vt_istream, "_ZTVSi");
DATA(vt_ostream, "_ZTVSo");
DATA(vt_iostream, "_ZTVSd");
DATA(ct_istream_in_iostream, "_ZTCSd0_Si");
DATA(ct_ostream_in_iostream, "_ZTCSd8_So");
DATA(vtt_istream, "_ZTTSi");
DATA(vtt_ostream, "_ZTTSo");
DATA(vtt_iostream, "_ZTTSd");

DATA(ti_ios_base, "_ZTISt8ios_base");
DATA(ti_basic_ios, "_ZTISt9basic_iosIcSt11char_traitsIcEE");
DATA(ti_ctype_shape, "_ZTISt16ctype_char_shape");
DATA(ti_stdio_buf, "_ZTISt9stdio_buf");

CODE(ios_base_d1, "_ZNSt8ios_baseD1Ev");
CODE(ios_base_d0, "_ZNSt8ios_baseD0Ev");
CODE(basic_ios_d1, "_ZNSt9basic_iosIcSt11char_traitsIcEED1Ev");
CODE(basic_ios_d0, "_ZNSt9basic_iosIcSt11char_traitsIcEED0Ev");

namespace {

using abi_tables::at;
using abi_tables::code;
using abi_tables::num;

void check_tables() {
  const abi_tables::table_case cases[] = {
      {"vtable for std::ios_base", vt_ios_base, 4, {num(0), ti_ios_base, code(ios_base_d1), code(ios_base_d0)}},
      {"vtable for std::basic_ios<char>", vt_basic_ios, 4,
       {num(0), ti_basic_ios, code(basic_ios_d1), code(basic_ios_d0)}},
      {"vtable for std::basic_streambuf<char>", vt_streambuf, 16,
       {num(0), ti_streambuf, code(sb_d1), code(sb_d0), code(sb_imbue), code(sb_setbuf), code(sb_seekoff),
        code(sb_seekpos), code(sb_sync), code(sb_showmanyc), code(sb_xsgetn), code(sb_underflow), code(sb_uflow),
        code(sb_pbackfail), code(sb_xsputn), code(sb_overflow)}},
      {"vtable for std::istream", vt_istream, 10,
       {num(8), num(0), ti_istream, code(istream_d1), code(istream_d0), num(-8), num(-8), ti_istream,
        code(istream_vthunk_d1), code(istream_vthunk_d0)}},
      {"vtable for std::ostream", vt_ostream, 10,
       {num(4), num(0), ti_ostream, code(ostream_d1), code(ostream_d0), num(-4), num(-4), ti_ostream,
        code(ostream_vthunk_d1), code(ostream_vthunk_d0)}},
      {"vtable for std::iostream", vt_iostream, 15,
       {num(12), num(0), ti_iostream, code(iostream_d1), code(iostream_d0), num(4), num(-8), ti_iostream,
        code(iostream_thunk_d1), code(iostream_thunk_d0), num(-12), num(-12), ti_iostream, code(iostream_vthunk_d1),
        code(iostream_vthunk_d0)}},
      {"construction vtable for std::istream-in-std::iostream", ct_istream_in_iostream, 10,
       {num(12), num(0), ti_istream, code(istream_d1), code(istream_d0), num(-12), num(-12), ti_istream,
        code(istream_vthunk_d1), code(istream_vthunk_d0)}},
      {"construction vtable for std::ostream-in-std::iostream", ct_ostream_in_iostream, 10,
       {num(4), num(0), ti_ostream, code(ostream_d1), code(ostream_d0), num(-4), num(-4), ti_ostream,
        code(ostream_vthunk_d1), code(ostream_vthunk_d0)}},
      {"VTT for std::istream", vtt_istream, 2, {at(vt_istream, 3), at(vt_istream, 8)}},
      {"VTT for std::ostream", vtt_ostream, 2, {at(vt_ostream, 3), at(vt_ostream, 8)}},
      {"VTT for std::iostream", vtt_iostream, 7,
       {at(vt_iostream, 3), at(ct_istream_in_iostream, 3), at(ct_istream_in_iostream, 8),
        at(ct_ostream_in_iostream, 3), at(ct_ostream_in_iostream, 8), at(vt_iostream, 13), at(vt_iostream, 8)}},
  };
  for (const abi_tables::table_case& c : cases) abi_tables::check_table(c);
}

void check_type_infos() {
  const abi_tables::type_info_case cases[] = {
      {"typeinfo for std::ios_base", ti_ios_base, tv_class, "St8ios_base", 0, {}},
      {"typeinfo for std::basic_ios<char>", ti_basic_ios, tv_si_class, "St9basic_iosIcSt11char_traitsIcEE", 1,
       {ti_ios_base}},
      {"typeinfo for std::basic_streambuf<char>", ti_streambuf, tv_class,
       "St15basic_streambufIcSt11char_traitsIcEE", 0, {}},
      {"typeinfo for std::istream", ti_istream, tv_vmi_class, "Si", 4,
       {num(0), num(1), ti_basic_ios, num(static_cast<int>(0xfffff403))}},
      {"typeinfo for std::ostream", ti_ostream, tv_vmi_class, "So", 4,
       {num(0), num(1), ti_basic_ios, num(static_cast<int>(0xfffff403))}},
      {"typeinfo for std::iostream", ti_iostream, tv_vmi_class, "Sd", 6,
       {num(3), num(2), ti_istream, num(0x2), ti_ostream, num(0x802)}},
      {"typeinfo for std::ctype_char_shape", ti_ctype_shape, tv_class, "St16ctype_char_shape", 0, {}},
      {"typeinfo for std::stdio_buf", ti_stdio_buf, tv_si_class, "St9stdio_buf", 1, {ti_streambuf}},
  };
  for (const abi_tables::type_info_case& c : cases) abi_tables::check_type_info(c);
}

}

int main() {
  check_tables();
  check_type_infos();
  return check::finish();
}
