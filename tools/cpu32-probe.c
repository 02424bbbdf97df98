/* Whether this machine runs 32-bit x86 code in a 64-bit process, the way Wine's 64-bit loader
 * runs a 32-bit program (WoW64): a child far-returns into the 32-bit user code segment, runs one
 * instruction there and comes back. Exit 0 if it does; 1 if the child is killed (a host that runs
 * 64-bit user code only has no such segment); 2 if this is no x86-64 machine.
 * Built and run by tools/wine-env.sh. */
#include <stdint.h>
#include <stdio.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#if defined(__x86_64__)
static int child(void) {
  /* Code and stack below 4 GiB, where 32-bit code can reach them. */
  unsigned char *low = mmap((void *)0x10000000, 8192, PROT_READ | PROT_WRITE | PROT_EXEC,
                            MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED_NOREPLACE, -1, 0);
  if (low == MAP_FAILED) return 3;
  low[0] = 0xcb; /* lret, in 32-bit mode: pops a 32-bit EIP, then a 32-bit CS */
  uint32_t *stack = (uint32_t *)(low + 8000);
  uint64_t back;
  __asm__ volatile("lea 1f(%%rip), %0" : "=r"(back));
  if (back > 0xffffffffu) return 4; /* built as a position-independent program: see wine-env.sh */
  stack[0] = (uint32_t)back;
  stack[1] = 0x33; /* the 64-bit user code segment */
  __asm__ volatile(
      "mov %%rsp, %%r12\n\t"
      "mov %0, %%rsp\n\t"
      "pushq $0x23\n\t" /* the 32-bit user code segment */
      "pushq %1\n\t"
      "lretq\n"
      "1:\n\t"
      "mov %%r12, %%rsp\n\t"
      :
      : "r"((uint64_t)(uintptr_t)stack), "r"((uint64_t)(uintptr_t)low)
      : "r12", "memory");
  return 0;
}
#endif

int main(void) {
#if defined(__x86_64__)
  pid_t pid = fork();
  if (pid < 0) return 1;
  if (pid == 0) _exit(child());
  int status = 0;
  if (waitpid(pid, &status, 0) < 0) return 1;
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return 0;
  if (WIFEXITED(status)) fprintf(stderr, "cpu32-probe: child exited %d\n", WEXITSTATUS(status));
  return 1;
#else
  return 2;
#endif
}
