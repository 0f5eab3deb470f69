#!/usr/bin/env bash
# Two workstations on a private link: two network namespaces joined by a veth pair, each with a
# default route over it and nothing else. One runs the listening side of the test program, the
# other sends the notice as the configuration would. Nothing can leave the machine.
# Usage: two_workstations.sh KLT_TESTS_BINARY
set -u
bin=$1
a=kltA$$ b=kltB$$
work=$(mktemp -d)
cleanup() {
  ip netns del "$a" 2>/dev/null
  ip netns del "$b" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

ip netns add "$a" && ip netns add "$b" || exit 1
ip link add kltvA$$ type veth peer name kltvB$$ || exit 1
ip link set kltvA$$ netns "$a" && ip link set kltvB$$ netns "$b" || exit 1
ip -n "$a" link set lo up && ip -n "$b" link set lo up
ip -n "$a" addr add 169.254.77.1/24 dev kltvA$$ && ip -n "$b" addr add 169.254.77.2/24 dev kltvB$$
ip -n "$a" link set kltvA$$ up && ip -n "$b" link set kltvB$$ up
ip -n "$a" route add default dev kltvA$$ && ip -n "$b" route add default dev kltvB$$

export KLT_NETNS_TEST=1
KLT_ROLE=listen KLT_READY=$work/ready timeout 30 ip netns exec "$b" "$bin" \
  --gtest_filter=Notices.WorkstationRole --gtest_brief=1 >"$work/listener.log" 2>&1 &
listener=$!
for _ in $(seq 50); do [ -f "$work/ready" ] && break; sleep 0.1; done
KLT_ROLE=send timeout 30 ip netns exec "$a" "$bin" --gtest_filter=Notices.WorkstationRole --gtest_brief=1 \
  >"$work/sender.log" 2>&1
sent=$?
wait "$listener"
heard=$?
cat "$work/sender.log" "$work/listener.log"
if grep -q SKIPPED "$work/sender.log" "$work/listener.log"; then echo "a side skipped"; exit 1; fi
[ "$sent" -eq 0 ] && [ "$heard" -eq 0 ]
