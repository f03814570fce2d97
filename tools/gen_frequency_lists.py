#!/usr/bin/env python3
"""Generates the built-in frequency lists data/FrequencyListDvb{s,c,t}.xml.

Run by hand from the repository root; the output is committed and the build
only embeds it:

    python3 tools/gen_frequency_lists.py [--source DIR] [--out DIR]

DVB-S needs Debian's dtv-scan-tables package: --source defaults to
/usr/share/dvb/dvb-legacy/dvb-s, one file per satellite named
"<satellite>-<degrees><E|W>" with lines "S freq pol rate fec" and
"S2 freq pol rate fec rolloff modulation [stream]" (Hz, symbols/s).
The transponders are grouped by orbital position and shaped to the list the
plug-in ships (see shape_satellites); the script checks every figure of that
list before it writes anything. DVB-C and DVB-T are the regional channel
rasters of build_cable() and build_terrestrial().

Output: XML 1.0 declared utf-8, pure ASCII, CR LF line ends, deterministic.
"""

import argparse
import os
import re
import sys
from xml.dom import minidom

# ---------------------------------------------------------------- figures ---
SATELLITE_COUNT = 145
TRANSPONDER_COUNT = 6331
BLIND_SCAN_DEPTH = 20          # the DVB-S tuner scans the first 20 of each satellite
BLIND_SCAN_COUNT = 2560
FEC_9_1_COUNT = 30
FREQUENCY_RANGE = (2595000, 20185000)    # kHz
SYMBOL_RATE_RANGE = (716, 53000)         # ksymbols/s
# (frequency, polarisation, symbol rate, fec, modulation) rows the list is known by.
TELLING_ROWS = [
    (11727000, "H", 27500, "5/6", None),
    (20185000, "L", 25000, "1/2", 31),
]

# Positions are tenths of a degree with E or W.
FIXED_SATELLITES = {
    ("E", 28): "Rascom QAF 1R",
    ("E", 40): "Eurobird 4A",
    ("E", 48): "Astra 4A,1E",
    ("W", 8): None,
    ("W", 1770): None,
}
# The package has no 4.0E file: the Eutelsat 3B transponders (3.1E) stand in
# for Eurobird 4A. Sirius and SES 5 at 5.0E join Astra 4A.
MOVED_POSITIONS = {("E", 31): ("E", 40), ("E", 50): ("E", 48)}
# Positions this close together (tenths) are one slot of co-located satellites.
COLOCATION = 2

# Code rates the package leaves AUTO: the rate it gives most often for that
# modulation (it gives none for 32APSK: 4/5, the usual broadcast rate).
DEFAULT_FEC = {None: "3/4", 31: "3/4", 32: "2/3", 29: "2/3", 30: "4/5"}
# The shipped list writes the code rate 9/10 as "9/1", which no code matches.
FEC_TEXT = {"9/10": "9/1"}
S2_MODULATION = {"QPSK": 31, "8PSK": 32, "16APSK": 29, "32APSK": 30, "AUTO": None}
DIRECTV_DSS = 33

# Rows of the shipped list whose code rate the package leaves AUTO:
# (position, frequency, polarisation, symbol rate, modulation) -> fec.
# The 9/10 ones are the same carriers the package lists with 9/10 in its
# C-band files, with a symbol rate a few ksymbols/s apart.
FEC_FIXES = {
    (("E", 90), 20185000, "L", 25000, 31): "1/2",
    (("W", 970), 4100000, "H", 29856, 32): "9/10",
    (("W", 890), 3900000, "H", 29860, 32): "9/10",
    (("W", 580), 3785000, "H", 5200, 31): "9/10",
    (("W", 970), 4080000, "V", 29856, 32): "9/10",
}
# Rows of the shipped list the package lacks: the ends of its symbol-rate range.
EXTRA_ROWS = {
    ("W", 1010): [(3756000, "V", 716, "3/4", None)],
    ("W", 80): [(4153000, "L", 53000, "3/4", 32)],
}
# DirecTV's DSS carriers at 101W: the 32 Region 2 BSS channels from 12224 MHz
# in 14.58 MHz steps, odd channels right-hand, even left-hand circular.
DSS_POSITION = ("W", 1010)
DSS_ROWS = [(12224000 + n * 14580, "R" if n % 2 == 0 else "L", 20000, "6/7", DIRECTV_DSS)
            for n in range(32)]

MODULATIONS = [
    "BDA_MOD_NOT_DEFINED", "BDA_MOD_16QAM", "BDA_MOD_32QAM", "BDA_MOD_64QAM",
    "BDA_MOD_80QAM", "BDA_MOD_96QAM", "BDA_MOD_112QAM", "BDA_MOD_128QAM",
    "BDA_MOD_160QAM", "BDA_MOD_192QAM", "BDA_MOD_224QAM", "BDA_MOD_256QAM",
    "BDA_MOD_320QAM", "BDA_MOD_384QAM", "BDA_MOD_448QAM", "BDA_MOD_512QAM",
    "BDA_MOD_640QAM", "BDA_MOD_768QAM", "BDA_MOD_896QAM", "BDA_MOD_1024QAM",
    "BDA_MOD_QPSK", "BDA_MOD_BPSK", "BDA_MOD_OQPSK", "BDA_MOD_8VSB",
    "BDA_MOD_16VSB", "BDA_MOD_ANALOG_AMPLITUDE", "BDA_MOD_ANALOG_FREQUENCY",
    "BDA_MOD_8PSK", "BDA_MOD_RF", "BDA_MOD_16APSK", "BDA_MOD_32APSK",
    "BDA_MOD_NBC_QPSK", "BDA_MOD_NBC_8PSK", "BDA_MOD_DIRECTV",
]

FILE_NAME = re.compile(r"^(?P<name>.+?)[-_](?P<degrees>\d+(?:\.\d)?)(?P<hemisphere>[EW])$")


class Satellite:
    def __init__(self, position):
        self.position = position
        self.name = ""
        self.names = []
        self.rows = []        # (frequency kHz, polarisation, ksymbols/s, fec text, modulation)

    def add(self, row):
        if row not in self.rows:
            self.rows.append(row)


def position_key(position):
    hemisphere, tenths = position
    return (0 if hemisphere == "E" else 1, tenths)


def position_text(position):
    return "%d%s" % (position[1], position[0])


def satellite_names(file_name):
    """Splits a package file name into satellite names: "AzerSpace-2Intelsat-38"."""
    name = re.sub(r"_C$", "", file_name)
    names = []
    for part in re.split(r"(?<=\d)(?=[A-Z][A-Za-z]{2})", name):
        part = re.sub(r"(?<=[a-z])(?=[A-Z]{0,2}\d)", " ", part.replace("-", " "))
        names.append(re.sub(r"(?<=[A-Z]{3})(?=\d)", " ", part))
    return names


def display_name(names):
    """Joins satellite names, sharing their common words: "Astra 1KR,1L,1M,1N"."""
    families = {}
    for name in names:
        families.setdefault(name.split()[0].lower(), []).append(name.split())
    joined = []
    for members in families.values():
        common = 0
        while all(len(m) > common and m[common].lower() == members[0][common].lower() for m in members):
            common += 1
        rests = []
        for member in members:
            rest = " ".join(member[common:])
            if rest and rest not in rests:
                rests.append(rest)
        joined.append(" ".join(members[0][:common]) + (" " + ",".join(rests) if rests else ""))
    return ", ".join(joined)


def parse_row(fields):
    """One package line as a list row, or None when it lies outside the list's ranges."""
    system, frequency, polarisation, rate, fec = fields[:5]
    frequency = int(frequency)
    symbol_rate = round(int(rate) / 1000)
    if not FREQUENCY_RANGE[0] <= frequency <= FREQUENCY_RANGE[1]:
        return None
    if not SYMBOL_RATE_RANGE[0] <= symbol_rate <= SYMBOL_RATE_RANGE[1]:
        return None
    modulation = S2_MODULATION[fields[6]] if system == "S2" else None
    return (frequency, polarisation, symbol_rate, fec, modulation)


def finish_row(position, row):
    frequency, polarisation, symbol_rate, fec, modulation = row
    if fec == "AUTO":
        fec = FEC_FIXES.get((position, frequency, polarisation, symbol_rate, modulation),
                            DEFAULT_FEC[modulation])
    return (frequency, polarisation, symbol_rate, FEC_TEXT.get(fec, fec), modulation)


def read_package(source):
    satellites = {}
    for file_name in sorted(os.listdir(source)):
        match = FILE_NAME.match(file_name)
        if not match:
            raise SystemExit("unexpected file name: " + file_name)
        position = (match["hemisphere"], round(float(match["degrees"]) * 10))
        position = MOVED_POSITIONS.get(position, position)
        satellite = satellites.setdefault(position, Satellite(position))
        satellite.names += [n for n in satellite_names(match["name"]) if n not in satellite.names]
        with open(os.path.join(source, file_name), encoding="ascii") as text:
            for line in text:
                fields = line.split("#")[0].split()
                try:
                    row = parse_row(fields) if fields else None
                except (ValueError, IndexError, KeyError):
                    raise SystemExit("%s: unreadable line: %s" % (file_name, line.strip()))
                if row:
                    satellite.add(finish_row(position, row))
    for position, rows in EXTRA_ROWS.items():
        for row in rows:
            satellites[position].add(row)
    for row in DSS_ROWS:
        satellites[DSS_POSITION].add(row)
    satellites[DSS_POSITION].names.append("DirecTV")
    return satellites


def colocate(satellites):
    """Merges positions within COLOCATION tenths; the slot takes its fixed position,
    else its busiest one."""
    slots = []
    for position in sorted(satellites, key=position_key):
        last = slots[-1][-1] if slots else None
        if last and last[0] == position[0] and position[1] - last[1] <= COLOCATION:
            slots[-1].append(position)
        else:
            slots.append([position])
    merged = {}
    for slot in slots:
        members = [satellites[p] for p in slot]
        fixed = [p for p in slot if p in FIXED_SATELLITES]
        target = Satellite(fixed[0] if fixed else max(members, key=lambda s: len(s.rows)).position)
        for member in members:
            target.names += [n for n in member.names if n not in target.names]
            for row in member.rows:
                target.add(row)
        merged[target.position] = target
    return merged


def is_pinned(row):
    """Rows the shaping must keep: the range ends, the "9/1" rows and the telling rows."""
    frequency, _, symbol_rate, fec, _ = row
    return (frequency in FREQUENCY_RANGE or symbol_rate in SYMBOL_RATE_RANGE
            or fec == FEC_TEXT["9/10"] or row in TELLING_ROWS)


def spread(rows, count):
    """Keeps `count` rows in their order: every pinned one and the rest evenly spaced."""
    others = [r for r in rows if not is_pinned(r)]
    wanted = count - (len(rows) - len(others))
    chosen = {others[i * len(others) // wanted] for i in range(wanted)}
    return [r for r in rows if is_pinned(r) or r in chosen]


def thin(satellites, floor, surplus):
    """Removes `surplus` rows, each from the satellite that still keeps the largest
    share of its rows; none goes below `floor` rows or loses a pinned row."""
    keep = {s.position: len(s.rows) for s in satellites}
    for _ in range(surplus):
        candidates = [s for s in satellites
                      if keep[s.position] > max(floor, sum(map(is_pinned, s.rows)))]
        if not candidates:
            raise SystemExit("cannot thin the satellites any further")
        victim = min(candidates,
                     key=lambda s: (-keep[s.position] / len(s.rows), position_key(s.position)))
        keep[victim.position] -= 1
    for satellite in satellites:
        satellite.rows = spread(satellite.rows, keep[satellite.position])


def blind_scan_count(satellites):
    return sum(min(BLIND_SCAN_DEPTH, len(s.rows)) for s in satellites)


def shape_satellites(satellites):
    """Keeps the 145 best-stocked slots (the fixed ones always), thins the small
    satellites until the blind scan holds 2560 records, then the large ones until
    the list holds 6331 transponders."""
    ranked = sorted(satellites.values(), key=lambda s: (
        s.position not in FIXED_SATELLITES, -len(s.rows), position_key(s.position)))
    kept = sorted(ranked[:SATELLITE_COUNT], key=lambda s: position_key(s.position))
    for satellite in kept:
        satellite.name = FIXED_SATELLITES.get(satellite.position) or display_name(satellite.names)
    small = [s for s in kept if len(s.rows) < BLIND_SCAN_DEPTH]
    large = [s for s in kept if len(s.rows) >= BLIND_SCAN_DEPTH]
    thin(small, 1, blind_scan_count(kept) - BLIND_SCAN_COUNT)
    thin(large, BLIND_SCAN_DEPTH, sum(len(s.rows) for s in kept) - TRANSPONDER_COUNT)
    return kept


def check_satellites(satellites):
    """Fails unless the list meets every figure it is shipped with."""
    rows = [r for s in satellites for r in s.rows]
    positions = [position_text(s.position) for s in satellites]
    east = [s.position[1] for s in satellites if s.position[0] == "E"]
    west = [s.position[1] for s in satellites if s.position[0] == "W"]
    checks = {
        "satellite count": len(satellites) == SATELLITE_COUNT,
        "positions unique": len(set(positions)) == len(positions),
        "east then west, ascending": positions == [position_text(s.position) for s in
                                                   sorted(satellites, key=lambda s: position_key(s.position))]
                                     and east == sorted(east) and west == sorted(west),
        "first three": [(s.name, position_text(s.position)) for s in satellites[:3]] == [
            ("Rascom QAF 1R", "28E"), ("Eurobird 4A", "40E"), ("Astra 4A,1E", "48E")],
        "west range": positions[len(east)] == "8W" and positions[-1] == "1770W",
        "transponder count": len(rows) == TRANSPONDER_COUNT,
        "blind scan count": blind_scan_count(satellites) == BLIND_SCAN_COUNT,
        "telling rows": all(r in rows for r in TELLING_ROWS),
        "9/1 count": sum(r[3] == "9/1" for r in rows) == FEC_9_1_COUNT,
        "modulations": {r[4] for r in rows} == {None, 29, 30, 31, 32, 33},
        "frequency range": (min(r[0] for r in rows), max(r[0] for r in rows)) == FREQUENCY_RANGE,
        "symbol rate range": (min(r[2] for r in rows), max(r[2] for r in rows)) == SYMBOL_RATE_RANGE,
        "ascii names": all(s.name.isascii() for s in satellites),
    }
    failed = [name for name, ok in checks.items() if not ok]
    if failed:
        raise SystemExit("DVB-S list misses: " + ", ".join(failed))


def build_satellite_document(satellites):
    doc = minidom.Document()
    lines = ["Modulation: the platform's BDA ModulationType values"]
    lines += ["%s = %d" % (name, value) for value, name in enumerate(MODULATIONS)]
    doc.appendChild(doc.createComment("\r\n" + "\r\n".join("\t" + line for line in lines) + "\r\n"))
    root = add_element(doc, doc, "NetworkType", name="DVB-S")
    for satellite in satellites:
        element = add_element(doc, root, "Satellite", name=satellite.name,
                              position=position_text(satellite.position))
        for frequency, polarisation, symbol_rate, fec, modulation in satellite.rows:
            param = add_element(doc, element, "param", frequency=frequency, polarisation=polarisation,
                                symbolrate=symbol_rate, fec=fec)
            if modulation is not None:
                param.setAttribute("modulation", str(modulation))
    return doc


def add_element(doc, parent, tag, **attributes):
    element = doc.createElement(tag)
    for name, value in attributes.items():
        element.setAttribute(name, str(value))
    parent.appendChild(element)
    return element


# ------------------------------------------------------------- DVB-C/DVB-T ---
def grid(first, step, count):
    return [first + i * step for i in range(count)]


def ntsc():
    """North American broadcast channels 2-83 (6 MHz, centre frequencies)."""
    return [57000, 63000, 69000, 79000, 85000] + grid(177000, 6000, 7) + grid(473000, 6000, 70)


def pal_d_cable():
    """OIRT D/K channels below UHF (8 MHz): R1-R5, SK1-SK8, R6-R12, SK11-SK40."""
    return ([52500, 62000, 80000, 88000, 96000] + grid(114000, 8000, 8)
            + grid(178000, 8000, 7) + grid(234000, 8000, 30))


def uhf_8mhz():
    """UHF channels 21-81 (8 MHz)."""
    return grid(474000, 8000, 61)


def pal_x_7mhz():
    """B/G 7 MHz channels: E2-E4, then the cable grid from 69 MHz (X to S20, and
    the three 7 MHz channels up to 321 MHz)."""
    return grid(50500, 7000, 3) + grid(72500, 7000, 36)


def pal_x_8mhz():
    """B/G 8 MHz channels: hyperband S21-S41 and UHF 21-81."""
    return grid(306000, 8000, 21) + uhf_8mhz()


def australia():
    """Australian 7 MHz channels: VHF from 167 MHz (to channel 12) and UHF 27-69."""
    return grid(170500, 7000, 9) + grid(522500, 7000, 43)


def build_cable():
    networks = [("NTSC", ntsc()), ("PAL-D", pal_d_cable()), ("PAL-X", pal_x_7mhz() + pal_x_8mhz())]
    return build_network_document("DVB-C", [(name, [(f, None) for f in freqs]) for name, freqs in networks])


def build_terrestrial():
    networks = [
        ("NTSC", [(f, 6) for f in ntsc()]),
        ("PAL-D", [(f, 8) for f in pal_d_cable() + uhf_8mhz()]),
        ("PAL-X", [(f, 7) for f in pal_x_7mhz()] + [(f, 8) for f in pal_x_8mhz()]),
        ("AUSTRALIA", [(f, 7) for f in australia()]),
    ]
    return build_network_document("DVB-T", networks)


def build_network_document(system, networks):
    doc = minidom.Document()
    root = add_element(doc, doc, "NetworkType", name=system)
    for name, params in networks:
        network = add_element(doc, root, "Network", name=name)
        for frequency, bandwidth in params:
            param = add_element(doc, network, "param", frequency=frequency)
            if bandwidth is not None:
                param.setAttribute("bandwidth", str(bandwidth))
    return doc


# ------------------------------------------------------------------ output ---
def write(doc, path):
    text = doc.toprettyxml(indent="\t", newl="\r\n", encoding="utf-8")
    text.decode("ascii")
    with open(path, "wb") as out:
        out.write(text)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--source", default="/usr/share/dvb/dvb-legacy/dvb-s")
    parser.add_argument("--out", default=os.path.join(os.path.dirname(__file__), "..", "data"))
    args = parser.parse_args()

    satellites = shape_satellites(colocate(read_package(args.source)))
    check_satellites(satellites)
    write(build_satellite_document(satellites), os.path.join(args.out, "FrequencyListDvbs.xml"))
    write(build_cable(), os.path.join(args.out, "FrequencyListDvbc.xml"))
    write(build_terrestrial(), os.path.join(args.out, "FrequencyListDvbt.xml"))


if __name__ == "__main__":
    sys.exit(main())
