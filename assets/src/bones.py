#!/usr/bin/env python3
"""Writes the bone pictures' SVG sources: one bone shape, a symbol per command.

The dog bones are ivory with a brown outline; the journal bones are the same
bone in pale blue with a navy outline.
"""
import pathlib

HERE = pathlib.Path(__file__).resolve().parent

STYLES = {
    "doggie": ("#f6ecd2", "#6b4423"),
    "journal": ("#d3e8f8", "#24476b"),
}

SYMBOLS = {
    "add": '<path d="M81 27 V55 M67 41 H95" stroke="#2e9e44" stroke-width="9" stroke-linecap="round"/>',
    "edit": '<g transform="rotate(-40 81 41)"><rect x="62" y="35" width="34" height="12" fill="#f5c542" '
            'stroke="#4a3b12" stroke-width="3"/><rect x="96" y="35" width="8" height="12" fill="#ef8fa0" '
            'stroke="#4a3b12" stroke-width="3"/><path d="M62 35 L52 41 L62 47 Z" fill="#f6e3c2" '
            'stroke="#4a3b12" stroke-width="3" stroke-linejoin="round"/></g>',
    "erase": '<g stroke="#8e2a1f" stroke-width="3.5" stroke-linejoin="round" stroke-linecap="round">'
             '<path d="M68 31 H94" /><path d="M76 31 V27 H86 V31"/>'
             '<path d="M70 34 L72 57 H90 L92 34 Z" fill="#e8725f"/>'
             '<path d="M77 39 V52 M81 39 V52 M85 39 V52"/></g>',
    "save": '<g stroke="#1f3f6b" stroke-width="3.5" stroke-linejoin="round">'
            '<path d="M66 26 H92 L98 32 V56 H66 Z" fill="#4f86c6"/>'
            '<rect x="72" y="26" width="16" height="10" fill="#dfe9f5"/>'
            '<rect x="71" y="42" width="22" height="14" fill="#ffffff"/></g>',
    "print": '<g stroke="#3c4650" stroke-width="3.5" stroke-linejoin="round">'
             '<rect x="72" y="24" width="20" height="10" fill="#ffffff"/>'
             '<rect x="63" y="33" width="38" height="16" rx="3" fill="#8c9aa8"/>'
             '<rect x="70" y="43" width="24" height="14" fill="#ffffff"/>'
             '<path d="M74 48 H90 M74 53 H86" stroke-width="2"/></g>',
    "close": '<path d="M70 30 L92 52 M92 30 L70 52" stroke="#b03a2e" stroke-width="8" stroke-linecap="round"/>',
    "ok": '<path d="M66 42 L77 53 L97 29" fill="none" stroke="#2e9e44" stroke-width="9" '
          'stroke-linecap="round" stroke-linejoin="round"/>',
}

PICTURES = [
    ("doggie", "add"), ("doggie", "edit"), ("doggie", "erase"), ("doggie", "save"),
    ("doggie", "print"), ("doggie", "close"), ("doggie", "ok"),
    ("journal", "add"), ("journal", "edit"), ("journal", "erase"),
]

BONE_PARTS = ('<circle cx="22" cy="22" r="18"/><circle cx="22" cy="60" r="18"/>'
              '<circle cx="140" cy="22" r="18"/><circle cx="140" cy="60" r="18"/>'
              '<rect x="22" y="23" width="118" height="36"/>')


def bone(fill, outline, symbol):
    return f'''<svg xmlns="http://www.w3.org/2000/svg" width="162" height="82" viewBox="0 0 162 82">
  <g fill="{outline}" stroke="{outline}" stroke-width="7">{BONE_PARTS}</g>
  <g fill="{fill}">{BONE_PARTS}</g>
  <g transform="translate(81 41) scale(1.25) translate(-81 -41)">{symbol}</g>
</svg>
'''


def main():
    for style, command in PICTURES:
        fill, outline = STYLES[style]
        (HERE / f"{style}-{command}.svg").write_text(bone(fill, outline, SYMBOLS[command]))


if __name__ == "__main__":
    main()
