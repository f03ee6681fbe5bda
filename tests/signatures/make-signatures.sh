#!/bin/sh
# Makes, in the folder named first, what a publisher makes with openssl: P-256 key pairs (publisher,
# other), a P-384 and a secp256k1 one, a release (setup.run) signed by each, the same release with one bit
# flipped, and the publisher's signature over an empty file.
set -eu
mkdir -p "$1"
cd "$1"
printf '#!/bin/sh\necho installed\n' > setup.run
printf '#!/bin/sh\necho instamled\n' > flipped
: > empty
for key in publisher:prime256v1 other:prime256v1 p384:secp384r1 k256:secp256k1; do
  name=${key%%:*}
  openssl ecparam -name "${key#*:}" -genkey -noout -out "$name.key"
  openssl ec -in "$name.key" -pubout -out "$name.pem" 2>/dev/null
  openssl dgst -sha256 -sign "$name.key" -out "$name.sig" setup.run
done
openssl dgst -sha256 -sign publisher.key -out empty.sig empty
