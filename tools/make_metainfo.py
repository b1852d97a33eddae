#!/usr/bin/env python3
"""Makes the software-centre description of the game from its template and
the list of changes, so that the description's releases are always those of
debian/changelog: one release per entry, newest first, with the entry's date
and its items.

    tools/make_metainfo.py --changelog debian/changelog TEMPLATE OUTPUT
"""

import argparse
import email.utils
import re
import sys
import xml.sax.saxutils

ENTRY_HEADING = re.compile(r"^(\S+) \(([^)]+)\) [^;]+;")
ENTRY_TRAILER = re.compile(r"^ -- .+ <[^>]+>  (.+)$")


def read_releases(text):
    """The entries of a Debian changelog: (version, ISO date, items), newest
    first. The version is the game's own, without the package revision; an
    item's continuation lines join it."""
    releases = []
    version = None
    items = []
    for line in text.splitlines():
        heading = ENTRY_HEADING.match(line)
        trailer = ENTRY_TRAILER.match(line)
        if heading:
            version = heading.group(2)
            if "-" in version:
                version = version.rsplit("-", 1)[0]
            version = version.split(":", 1)[-1]
            items = []
        elif trailer and version is not None:
            date = email.utils.parsedate_to_datetime(trailer.group(1))
            releases.append((version, date.strftime("%Y-%m-%d"), items))
            version = None
        elif version is not None and line.startswith("  * "):
            items.append(line[4:].strip())
        elif version is not None and line.startswith("    ") and items:
            items[-1] += " " + line.strip()
    if not releases:
        raise ValueError("the changelog has no complete entry")
    return releases


def releases_element(releases, indent="  "):
    lines = [indent + "<releases>"]
    for version, date, items in releases:
        lines.append(f'{indent}  <release version="{version}" date="{date}">')
        if items:
            lines.append(f"{indent}    <description>")
            lines.append(f"{indent}      <p>In this release:</p>")
            lines.append(f"{indent}      <ul>")
            for item in items:
                lines.append(f"{indent}        <li>{xml.sax.saxutils.escape(item)}</li>")
            lines.append(f"{indent}      </ul>")
            lines.append(f"{indent}    </description>")
        lines.append(f"{indent}  </release>")
    lines.append(indent + "</releases>")
    return "\n".join(lines)


def make_metainfo(template, changelog):
    if template.count("<releases/>") != 1:
        raise ValueError("the template needs one empty <releases/> to fill")
    at = template.index("<releases/>")
    indent = template[template.rindex("\n", 0, at) + 1:at]
    return template.replace(indent + "<releases/>", releases_element(read_releases(changelog), indent))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--changelog", required=True)
    parser.add_argument("template")
    parser.add_argument("output")
    arguments = parser.parse_args()
    try:
        with open(arguments.template, encoding="utf-8") as file:
            template = file.read()
        with open(arguments.changelog, encoding="utf-8") as file:
            changelog = file.read()
        metainfo = make_metainfo(template, changelog)
    except (OSError, ValueError) as problem:
        print(f"make_metainfo.py: {problem}", file=sys.stderr)
        return 1
    with open(arguments.output, "w", encoding="utf-8") as file:
        file.write(metainfo)
    return 0


if __name__ == "__main__":
    sys.exit(main())
