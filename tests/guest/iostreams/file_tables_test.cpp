// The virtual tables, VTTs, construction tables and type information of the
// file buffer and the three file streams, word by word, as game code and its
// derived classes read them.
#include "abi_tables.h"
#include "fstream.h"

#define FILEBUF "St13basic_filebufIcSt11char_traitsIcEE"
#define IFSTREAM "St14basic_ifstreamIcSt11char_traitsIcEE"
#define OFSTREAM "St14basic_ofstreamIcSt11char_traitsIcEE"
#define FSTREAM "St13basic_fstreamIcSt11char_traitsIcEE"

DATA(vt_filebuf, "_ZTV" FILEBUF);
DATA(vt_ifstream, "_ZTV" IFSTREAM);
DATA(vt_ofstream, "_ZTV" OFSTREAM);
DATA(vt_fstream, "_ZTV" FSTREAM);
DATA(ct_istream_in_ifstream, "_ZTC" IFSTREAM "0_Si");
DATA(ct_ostream_in_ofstream, "_ZTC" OFSTREAM "0_So");
DATA(ct_iostream_in_fstream, "_ZTC" FSTREAM "0_Sd");
DATA(ct_istream_in_fstream, "_ZTC" FSTREAM "0_Si");
DATA(ct_ostream_in_fstream, "_ZTC" FSTREAM "8_So");
DATA(vtt_ifstream, "_ZTT" IFSTREAM);
DATA(vtt_ofstream, "_ZTT" OFSTREAM);
DATA(vtt_fstream, "_ZTT" FSTREAM);

DATA(ti_filebuf, "_ZTI" FILEBUF);
DATA(ti_ifstream, "_ZTI" IFSTREAM);
DATA(ti_ofstream, "_ZTI" OFSTREAM);
DATA(ti_fstream, "_ZTI" FSTREAM);

CODE(fb_d1, "_ZN" FILEBUF "D1Ev");
CODE(fb_d0, "_ZN" FILEBUF "D0Ev");
CODE(fb_imbue, "_ZN" FILEBUF "5imbueERKSt6locale");
CODE(fb_setbuf, "_ZN" FILEBUF "6setbufEPci");
CODE(fb_seekoff, "_ZN" FILEBUF "7seekoffExSt12_Ios_SeekdirSt13_Ios_Openmode");
CODE(fb_seekpos, "_ZN" FILEBUF "7seekposESt4fposI11__mbstate_tESt13_Ios_Openmode");
CODE(fb_sync, "_ZN" FILEBUF "4syncEv");
CODE(fb_showmanyc, "_ZN" FILEBUF "9showmanycEv");
CODE(fb_xsgetn, "_ZN" FILEBUF "6xsgetnEPci");
CODE(fb_underflow, "_ZN" FILEBUF "9underflowEv");
CODE(fb_pbackfail, "_ZN" FILEBUF "9pbackfailEi");
CODE(fb_xsputn, "_ZN" FILEBUF "6xsputnEPKci");
CODE(fb_overflow, "_ZN" FILEBUF "8overflowEi");

CODE(ifs_d1, "_ZN" IFSTREAM "D1Ev");
CODE(ifs_d0, "_ZN" IFSTREAM "D0Ev");
CODE(ifs_vthunk_d1, "_ZTv0_n12_N" IFSTREAM "D1Ev");
CODE(ifs_vthunk_d0, "_ZTv0_n12_N" IFSTREAM "D0Ev");
CODE(ofs_d1, "_ZN" OFSTREAM "D1Ev");
CODE(ofs_d0, "_ZN" OFSTREAM "D0Ev");
CODE(ofs_vthunk_d1, "_ZTv0_n12_N" OFSTREAM "D1Ev");
CODE(ofs_vthunk_d0, "_ZTv0_n12_N" OFSTREAM "D0Ev");
CODE(fs_d1, "_ZN" FSTREAM "D1Ev");
CODE(fs_d0, "_ZN" FSTREAM "D0Ev");
CODE(fs_thunk_d1, "_ZThn8_N" FSTREAM "D1Ev");
CODE(fs_thunk_d0, "_ZThn8_N" FSTREAM "D0Ev");
CODE(fs_vthunk_d1, "_ZTv0_n12_N" FSTREAM "D1Ev");
CODE(fs_vthunk_d0, "_ZTv0_n12_N" FSTREAM "D0Ev");

namespace {

using abi_tables::at;
using abi_tables::code;
using abi_tables::num;

void check_tables() {
  const abi_tables::table_case cases[] = {
      {"vtable for std::filebuf", vt_filebuf, 16,
       {num(0), ti_filebuf, code(fb_d1), code(fb_d0), code(fb_imbue), code(fb_setbuf), code(fb_seekoff),
        code(fb_seekpos), code(fb_sync), code(fb_showmanyc), code(fb_xsgetn), code(fb_underflow), code(sb_uflow),
        code(fb_pbackfail), code(fb_xsputn), code(fb_overflow)}},
      {"vtable for std::ifstream", vt_ifstream, 10,
       {num(524), num(0), ti_ifstream, code(ifs_d1), code(ifs_d0), num(-524), num(-524), ti_ifstream,
        code(ifs_vthunk_d1), code(ifs_vthunk_d0)}},
      {"vtable for std::ofstream", vt_ofstream, 10,
       {num(520), num(0), ti_ofstream, code(ofs_d1), code(ofs_d0), num(-520), num(-520), ti_ofstream,
        code(ofs_vthunk_d1), code(ofs_vthunk_d0)}},
      {"vtable for std::fstream", vt_fstream, 15,
       {num(528), num(0), ti_fstream, code(fs_d1), code(fs_d0), num(520), num(-8), ti_fstream, code(fs_thunk_d1),
        code(fs_thunk_d0), num(-528), num(-528), ti_fstream, code(fs_vthunk_d1), code(fs_vthunk_d0)}},
      {"construction vtable for std::istream-in-std::ifstream", ct_istream_in_ifstream, 10,
       {num(524), num(0), ti_istream, code(istream_d1), code(istream_d0), num(-524), num(-524), ti_istream,
        code(istream_vthunk_d1), code(istream_vthunk_d0)}},
      {"construction vtable for std::ostream-in-std::ofstream", ct_ostream_in_ofstream, 10,
       {num(520), num(0), ti_ostream, code(ostream_d1), code(ostream_d0), num(-520), num(-520), ti_ostream,
        code(ostream_vthunk_d1), code(ostream_vthunk_d0)}},
      {"construction vtable for std::iostream-in-std::fstream", ct_iostream_in_fstream, 15,
       {num(528), num(0), ti_iostream, code(iostream_d1), code(iostream_d0), num(520), num(-8), ti_iostream,
        code(iostream_thunk_d1), code(iostream_thunk_d0), num(-528), num(-528), ti_iostream,
        code(iostream_vthunk_d1), code(iostream_vthunk_d0)}},
      {"construction vtable for std::istream-in-std::fstream", ct_istream_in_fstream, 10,
       {num(528), num(0), ti_istream, code(istream_d1), code(istream_d0), num(-528), num(-528), ti_istream,
        code(istream_vthunk_d1), code(istream_vthunk_d0)}},
      {"construction vtable for std::ostream-in-std::fstream at 8", ct_ostream_in_fstream, 10,
       {num(520), num(0), ti_ostream, code(ostream_d1), code(ostream_d0), num(-520), num(-520), ti_ostream,
        code(ostream_vthunk_d1), code(ostream_vthunk_d0)}},
      {"VTT for std::ifstream", vtt_ifstream, 4,
       {at(vt_ifstream, 3), at(ct_istream_in_ifstream, 3), at(ct_istream_in_ifstream, 8), at(vt_ifstream, 8)}},
      {"VTT for std::ofstream", vtt_ofstream, 4,
       {at(vt_ofstream, 3), at(ct_ostream_in_ofstream, 3), at(ct_ostream_in_ofstream, 8), at(vt_ofstream, 8)}},
      {"VTT for std::fstream", vtt_fstream, 10,
       {at(vt_fstream, 3), at(ct_iostream_in_fstream, 3), at(ct_istream_in_fstream, 3), at(ct_istream_in_fstream, 8),
        at(ct_ostream_in_fstream, 3), at(ct_ostream_in_fstream, 8), at(ct_iostream_in_fstream, 13),
        at(ct_iostream_in_fstream, 8), at(vt_fstream, 13), at(vt_fstream, 8)}},
  };
  for (const abi_tables::table_case& c : cases) abi_tables::check_table(c);
}

// Single-inheritance records: kind, name, base.
void check_type_infos() {
  const abi_tables::type_info_case cases[] = {
      {"typeinfo for std::filebuf", ti_filebuf, tv_si_class, FILEBUF, 1, {ti_streambuf}},
      {"typeinfo for std::ifstream", ti_ifstream, tv_si_class, IFSTREAM, 1, {ti_istream}},
      {"typeinfo for std::ofstream", ti_ofstream, tv_si_class, OFSTREAM, 1, {ti_ostream}},
      {"typeinfo for std::fstream", ti_fstream, tv_si_class, FSTREAM, 1, {ti_iostream}},
  };
  for (const abi_tables::type_info_case& c : cases) abi_tables::check_type_info(c);
}

}

int main() {
  check_tables();
  check_type_infos();
  return check::finish();
}
