"""Small icon sets for the fault sweep, cut from the generated ones: the top folder, the
thumbnail cache (several chunks of data) and the first few icons of the foreign set; the
stock set has the same files in its own bytes plus the ones only it carries. Every entry
keeps its name, time, attributes and method, so the program treats them as it treats the
real sets; only fewer files make every failure point affordable."""

import sys
import zipfile

ICONS = 3


def cut(source, target, keep):
    with zipfile.ZipFile(source) as src, zipfile.ZipFile(target, "w") as out:
        for info in src.infolist():
            if not keep(info.filename):
                continue
            entry = zipfile.ZipInfo(info.filename, info.date_time)
            entry.external_attr = info.external_attr
            entry.create_system = info.create_system
            entry.compress_type = info.compress_type
            out.writestr(entry, src.read(info))


def main(foreign, stock, out_dir):
    with zipfile.ZipFile(foreign) as f, zipfile.ZipFile(stock) as s:
        foreign_names = [i.filename.split("/", 1)[1] for i in f.infolist() if not i.is_dir()]
        stock_names = [i.filename.split("/", 1)[1] for i in s.infolist() if not i.is_dir()]
    icons = [n for n in foreign_names if n.lower() != "thumbs.db"][:ICONS]
    chosen = set(icons) | {n for n in foreign_names if n.lower() == "thumbs.db"}
    stock_only = set(stock_names) - set(foreign_names)

    def keep_foreign(name):
        rest = name.split("/", 1)[1]
        return rest == "" or rest in chosen

    def keep_stock(name):
        rest = name.split("/", 1)[1]
        return rest == "" or rest in chosen or rest in stock_only

    cut(foreign, f"{out_dir}/foreign.zip", keep_foreign)
    cut(stock, f"{out_dir}/stock.zip", keep_stock)


if __name__ == "__main__":
    main(*sys.argv[1:4])
