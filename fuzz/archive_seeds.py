#!/usr/bin/env python3
# Makes the seeds of fuzz_archive (fuzz/corpus/archive/) from two real archives titled "fuzz",
# made by the program itself:
#   build/roviro-cli catalogue pack data/catalogues/standard/RohrmotorR45.xml -o DIR/fuzz.kxbmc
#   build/roviro-cli --program-dir build --data-dir DIR/data --simulate download -o DIR/fuzz.kxmc
#   fuzz/archive_seeds.py DIR fuzz/corpus/archive
# Besides the two, hostile archives: sizes that lie, duplicate names, names with "..", deep XML,
# odd manifests, folder entries.
import hashlib
import io
import os
import struct
import sys
import warnings
import zipfile

warnings.simplefilter("ignore")  # duplicate names are the point of one seed
source, target = sys.argv[1], sys.argv[2]
def md5(b): return hashlib.md5(b).hexdigest().upper()
real = zipfile.ZipFile(os.path.join(source, 'fuzz.kxbmc'))
doc = real.read('RohrmotorR45.xml')
pf = zipfile.ZipFile(os.path.join(source, 'fuzz.kxmc'))
kxm = pf.read('fuzz.kxm'); kxmmd6 = pf.read('fuzz.md6')
out = {}
def z(entries, method=zipfile.ZIP_DEFLATED):
    b = io.BytesIO()
    with zipfile.ZipFile(b, 'w', method) as w:
        for name, data in entries:
            w.writestr(zipfile.ZipInfo(name), data, compress_type=method)
    return b.getvalue()
def manifest(*pairs, end=';\n'):
    return ''.join(f'{d};{n}{end}' for d, n in pairs).encode()
out['real_catalogue.kxbmc'] = open(os.path.join(source, 'fuzz.kxbmc'),'rb').read()
out['real_parameter_file.kxmc'] = open(os.path.join(source, 'fuzz.kxmc'),'rb').read()
# Both readings in one archive.
out['catalogue_and_set'] = z([('k.xml', doc), ('fuzz.kxm', kxm), ('fuzz.md6', manifest((md5(doc),'k.xml')))])
# Sizes that lie: central directory and local header claim other sizes.
def patch_sizes(data, central_size=None, local_size=None):
    data = bytearray(data)
    c = data.find(b'PK\x01\x02')
    if central_size is not None: data[c+24:c+28] = struct.pack('<I', central_size)
    if local_size is not None: data[22:26] = struct.pack('<I', local_size)
    return bytes(data)
one = z([('k.xml', doc), ('fuzz.md6', manifest((md5(doc),'k.xml')))])
out['size_too_large'] = patch_sizes(one, central_size=0x7FFFFFF0)
out['size_too_small'] = patch_sizes(one, central_size=10, local_size=10)
out['stored_size_lies'] = patch_sizes(z([('k.xml', doc), ('fuzz.md6', manifest((md5(doc),'k.xml')))], zipfile.ZIP_STORED), central_size=100)
# Duplicate names: the manifest matches the second copy.
other = doc.replace(b'Rohrmotor', b'Rohrmotur')
out['duplicate_names'] = z([('k.xml', doc), ('K.XML', other), ('fuzz.md6', manifest((md5(other),'k.xml'))), ('fuzz.md6', b'')])
# Names with "..": lookups only, nothing may be written there.
out['dot_dot_names'] = z([('../../evil.xml', doc), ('..\\..\\evil.xml', doc), ('/abs.xml', doc),
                          ('fuzz.md6', manifest((md5(doc),'../../evil.xml'), (md5(doc),'..\\..\\evil.xml'), (md5(doc), '/abs.xml')))])
# Deep XML with a correct digest.
deep = b'<?xml version="1.0" encoding="iso-8859-1" ?>\n<Katalog>' + b'<d>'*5000 + b'</d>'*5000 + b'</Katalog>'
out['deep_xml'] = z([('deep.xml', deep), ('fuzz.kxm', deep), ('fuzz.md6', manifest((md5(deep),'deep.xml')))])
# Manifest oddities: empty, CRLF, lower case, no trailing separator, folder entries.
out['empty_manifest'] = z([('k.xml', doc), ('fuzz.md6', b'')])
out['crlf_lowercase_manifest'] = z([('k.xml', doc), ('fuzz.md6', (md5(doc).lower() + ';k.xml;\r\n' + md5(doc) + ';k.xml;\r\n').encode())])
out['folder_entries'] = z([('top\\', b''), ('top/', b''), ('top\\k.xml', doc), ('fuzz.md6', manifest((md5(doc),'top\\k.xml')))])
out['parameter_file_manifest_only'] = z([('fuzz.md6', kxmmd6)])
for name, data in out.items():
    open(os.path.join(target, name), 'wb').write(data)
print(len(out), 'seeds')
