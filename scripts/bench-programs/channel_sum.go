// The exchange of channel_sum.e in Go: a producer goroutine sends 1..COUNT
// over a channel with a buffer of 1,024 values to the main goroutine, which
// prints their sum mod 1000003.
//
//	channel_sum_go [COUNT]      (default 200,000)
package main

import (
	"fmt"
	"os"
	"strconv"
)

func main() {
	count := 200000
	if len(os.Args) > 1 {
		n, err := strconv.Atoi(os.Args[1])
		if err != nil || n <= 0 {
			fmt.Fprintln(os.Stderr, "usage: channel_sum_go [COUNT]")
			os.Exit(2)
		}
		count = n
	}
	ch := make(chan int32, 1024)
	go func() {
		for i := 1; i <= count; i++ {
			ch <- int32(i)
		}
	}()
	s := 0
	for k := 0; k < count; k++ {
		s = (s + int(<-ch)) % 1000003
	}
	fmt.Println(s)
}
